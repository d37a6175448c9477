// Redirection of HKEY_CURRENT_USER to a scratch key (RegOverridePredefKey).
#include "tests/support/win32/scoped_user_hive.h"

#include <windows.h>

#include <random>

#include "platform/win32/unique_handle.h"

namespace ph::test {

ScopedUserHive::ScopedUserHive() {
  path_ = "Software\\PageHarvestTests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(std::random_device{}());
  win::UniqueHkey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return;
  ok_ = ::RegOverridePredefKey(HKEY_CURRENT_USER, key.get()) == ERROR_SUCCESS;
}

ScopedUserHive::~ScopedUserHive() {
  ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  ::RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

}  // namespace ph::test
