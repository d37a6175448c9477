// An exception at an edge where the system calls us becomes a failure the caller sees, and a trace.
#include "platform/win32/edge_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace ph::win {
namespace {

// Collects what OutputDebugString writes: it raises DBG_PRINTEXCEPTION_C with the text's length
// and address, which a vectored handler sees before anyone else.
class DebugOutput {
 public:
  DebugOutput() : handler_(::AddVectoredExceptionHandler(1, &Seen)) { lines().clear(); }
  ~DebugOutput() { ::RemoveVectoredExceptionHandler(handler_); }
  static std::vector<std::string>& lines() {
    static std::vector<std::string> seen;
    return seen;
  }

 private:
  static LONG CALLBACK Seen(EXCEPTION_POINTERS* e) {
    const EXCEPTION_RECORD* r = e->ExceptionRecord;
    if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2)
      lines().emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH;
  }
  void* handler_;
};

TEST(EdgeGuard, AThrowingCallAnswersAFailureAndLeavesATraceNamingTheEdge) {
  DebugOutput output;
  EXPECT_EQ(GuardComMethod("Band::SetSite", []() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(GuardComMethod("Band::Invoke", []() -> HRESULT { throw std::runtime_error("no page"); }), E_UNEXPECTED);
  EXPECT_EQ(GuardProcedure<LRESULT>("ControlWindowProc", 0, []() -> LRESULT { throw 7; }), 0);
  EXPECT_EQ(GuardComMethod("Band::GetBandInfo", [] { return S_FALSE; }), S_FALSE);
  EXPECT_EQ(output.lines(), (std::vector<std::string>{"PageHarvest: Band::SetSite: out of memory\n",
                                                      "PageHarvest: Band::Invoke: no page\n",
                                                      "PageHarvest: ControlWindowProc: unknown exception\n"}));
}

}  // namespace
}  // namespace ph::win
