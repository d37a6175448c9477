// The edges where the system calls into us (COM methods, window and dialog procedures): no exception crosses them.
#pragma once

#include <windows.h>

#include <exception>
#include <new>

namespace ph::win {

// Writes "PageHarvest: <where>: <what>" to the debugger's output; never throws.
void TraceEdgeFailure(const char* where, const char* what) noexcept;

// What body answers; when it throws, the answer for the exception (out_of_memory for bad_alloc,
// failed for any other), with a trace naming the edge.
template <typename Result, typename Body>
Result GuardEdge(const char* where, Result out_of_memory, Result failed, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    TraceEdgeFailure(where, "out of memory");
    return out_of_memory;
  } catch (const std::exception& e) {
    TraceEdgeFailure(where, e.what());
  } catch (...) {
    TraceEdgeFailure(where, "unknown exception");
  }
  return failed;
}

// A COM method: its HRESULT, or E_OUTOFMEMORY or E_UNEXPECTED when it threw.
template <typename Body>
HRESULT GuardComMethod(const char* where, Body&& body) noexcept {
  return GuardEdge<HRESULT>(where, E_OUTOFMEMORY, E_UNEXPECTED, body);
}

// A window or dialog procedure, or an entry point: its answer, or fallback when it threw.
template <typename Result, typename Body>
Result GuardProcedure(const char* where, Result fallback, Body&& body) noexcept {
  return GuardEdge<Result>(where, fallback, fallback, body);
}

}  // namespace ph::win
