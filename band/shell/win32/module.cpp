// The library's instance handle and its object and lock counts.
#include "band/shell/win32/module.h"

#include <atomic>

namespace ph::band {
namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

std::string ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(g_instance, path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : 0);
}

void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }
void LockServer(bool lock) {
  if (lock) {
    ++g_locks;
  } else {
    --g_locks;
  }
}
bool ModuleInUse() { return g_objects.load() > 0 || g_locks.load() > 0; }

std::mutex& ModuleMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace ph::band
