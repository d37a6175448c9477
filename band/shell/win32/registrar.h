// Registration of the library: the two scripts of its REGISTRY resources and its type library.
#pragma once

#include <windows.h>

namespace ph::band {

inline constexpr char kAppId[] = "{9C9D980D-421A-4F15-A5E0-788DF7338EB7}";

// The AppID script, the class script, then the type library; the first failure is returned.
HRESULT RegisterServer();
// The class script's entries, the type library, then the AppID script's; the first failure is returned.
HRESULT UnregisterServer();

}  // namespace ph::band
