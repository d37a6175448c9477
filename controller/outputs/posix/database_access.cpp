// Access files natively: there is no DAO engine to open them with.
#include "controller/outputs/database.h"

namespace ph {
namespace {

class NoAccessEngine : public AccessEngine {
 public:
  std::unique_ptr<AccessDatabase> Open(std::string_view, std::string_view,
                                       std::string* error) override {
    *error = kNoAccessEngineMessage;
    return nullptr;
  }
};

}  // namespace

std::unique_ptr<AccessEngine> MakeAccessEngine() {
  return std::make_unique<NoAccessEngine>();
}

}  // namespace ph
