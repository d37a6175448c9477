// One run of grab: the selection engine on in-memory pages, the hand-off record, and the controller's
// intake with its writers, wired together as the band and the controller are.
#pragma once

#include <iosfwd>
#include <memory>

#include "tools/grab/options.h"

namespace ph::grab {

class GrabSession {
 public:
  GrabSession(const Options& options, std::ostream& out, std::ostream& err);
  ~GrabSession();
  GrabSession(const GrabSession&) = delete;
  GrabSession& operator=(const GrabSession&) = delete;

  // The exit status: 0 when everything was saved, 1 otherwise.
  int Run();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace ph::grab
