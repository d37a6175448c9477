// The About box: artwork, the memory figure, and the web-site link.
#pragma once

#include <windows.h>

namespace ph::win {

// The product's own site, opened from the About box.
inline constexpr char kProductSite[] = "https://pageharvest.example.org/";

void RunAboutBox(HINSTANCE instance, HWND owner);

}  // namespace ph::win
