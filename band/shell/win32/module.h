// The library's module state: its instance handle and the counts behind DllCanUnloadNow.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

namespace ph::band {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
// The full path of the library file.
std::string ModulePath();

// Live band objects and class factories, and LockServer locks; both change atomically because
// DllCanUnloadNow may be asked from any thread.
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool ModuleInUse();

// Held while the class factory is created once.
std::mutex& ModuleMutex();

}  // namespace ph::band
