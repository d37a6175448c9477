// Stand-ins for the intake's tests: writers that record what they are asked, and files in memory.
#pragma once

#include "controller/outputs/output_context.h"
#include "tests/support/memory_file_system.h"

namespace ph::test {

struct WriteCall {
  std::int32_t kind;
  OutputContext context;
};

class RecordingWriters : public Writers {
 public:
  std::vector<WriteCall> calls;
  int result = 1;

  int Write(std::int32_t kind, const OutputContext& context) override {
    calls.push_back({kind, context});
    return result;
  }
};

}  // namespace ph::test
