// Stand-in for the writers until they are wired in: nothing is saved, so every stored action falls
// back to the save dialog, and the dialog's choices are still remembered.
#include "controller/shell/win32/program_writers.h"

namespace ph {
namespace {

class NoWriters : public Writers {
 public:
  int Write(std::int32_t, const OutputContext&) override { return 0; }
};

}  // namespace

ProgramOutputs MakeProgramOutputs(SettingsRecord&, FileSystem&, UserPort&) {
  return {std::make_unique<NoWriters>(), [](const OutputContext& c) { return c.title; }};
}

}  // namespace ph
