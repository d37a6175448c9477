// The writers behind the one call the intake makes: each kind of output to its writer.
#pragma once

#include "controller/outputs/output_context.h"

namespace ph {

class DatabaseWriter;
struct OutputPorts;

class PortWriters : public Writers {
 public:
  // Both are borrowed and must outlive the object.
  PortWriters(OutputPorts& ports, DatabaseWriter& database) : ports_(ports), database_(database) {}

  // The writer's own result; 0 for a kind that names no writer.
  int Write(std::int32_t kind, const OutputContext& context) override;

 private:
  OutputPorts& ports_;
  DatabaseWriter& database_;
};

}  // namespace ph
