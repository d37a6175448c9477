// Points HKEY_CURRENT_USER of this process at a scratch key for the life of the object, so that
// tests of the real registry neither see nor disturb the settings of the user running them.
#pragma once

#include <string>

namespace ph::test {

class ScopedUserHive {
 public:
  ScopedUserHive();
  ~ScopedUserHive();
  ScopedUserHive(const ScopedUserHive&) = delete;
  ScopedUserHive& operator=(const ScopedUserHive&) = delete;

  bool ok() const { return ok_; }

 private:
  std::string path_;
  bool ok_ = false;
};

}  // namespace ph::test
