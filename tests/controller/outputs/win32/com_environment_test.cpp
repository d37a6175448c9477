// The writers run on a thread with COM initialised, as on the controller's user-interface thread.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

namespace {

class ComApartment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { ::CoUninitialize(); }
};

const auto* const kApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

}  // namespace
