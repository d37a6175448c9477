// Move-only owners for Win32 handles: one alias per kind of handle, each closed by its own function.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <utility>

namespace ph::win {

// Traits name the handle type, the value that means "none" and the function that closes it.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  // For APIs that return the handle through an out parameter; closes what was held first.
  Type* put() {
    reset();
    return &h_;
  }
  Type release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(Type h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Type h_ = Traits::Invalid();
};

#define PH_HANDLE_TRAITS(name, type, invalid, close) \
  struct name {                                      \
    using Type = type;                               \
    static Type Invalid() { return invalid; }        \
    static void Close(Type h) { close(h); }          \
  }

PH_HANDLE_TRAITS(HkeyTraits, HKEY, nullptr, ::RegCloseKey);
PH_HANDLE_TRAITS(KernelTraits, HANDLE, nullptr, ::CloseHandle);
PH_HANDLE_TRAITS(FileTraits, HANDLE, INVALID_HANDLE_VALUE, ::CloseHandle);
PH_HANDLE_TRAITS(FindTraits, HANDLE, INVALID_HANDLE_VALUE, ::FindClose);
PH_HANDLE_TRAITS(HglobalTraits, HGLOBAL, nullptr, ::GlobalFree);
PH_HANDLE_TRAITS(HwndTraits, HWND, nullptr, ::DestroyWindow);
PH_HANDLE_TRAITS(HmenuTraits, HMENU, nullptr, ::DestroyMenu);
PH_HANDLE_TRAITS(HiconTraits, HICON, nullptr, ::DestroyIcon);
PH_HANDLE_TRAITS(HbitmapTraits, HBITMAP, nullptr, ::DeleteObject);
PH_HANDLE_TRAITS(HbrushTraits, HBRUSH, nullptr, ::DeleteObject);
PH_HANDLE_TRAITS(HdcTraits, HDC, nullptr, ::DeleteDC);  // a memory DC from CreateCompatibleDC
PH_HANDLE_TRAITS(HmoduleTraits, HMODULE, nullptr, ::FreeLibrary);
PH_HANDLE_TRAITS(HinternetTraits, HINTERNET, nullptr, ::InternetCloseHandle);
PH_HANDLE_TRAITS(HimagelistTraits, HIMAGELIST, nullptr, ::ImageList_Destroy);
#undef PH_HANDLE_TRAITS

using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueHglobal = UniqueHandle<HglobalTraits>;
using UniqueHwnd = UniqueHandle<HwndTraits>;
using UniqueHmenu = UniqueHandle<HmenuTraits>;
using UniqueHicon = UniqueHandle<HiconTraits>;
using UniqueHbitmap = UniqueHandle<HbitmapTraits>;
using UniqueHbrush = UniqueHandle<HbrushTraits>;
using UniqueHdc = UniqueHandle<HdcTraits>;
using UniqueHmodule = UniqueHandle<HmoduleTraits>;
using UniqueHinternet = UniqueHandle<HinternetTraits>;
using UniqueHimagelist = UniqueHandle<HimagelistTraits>;

}  // namespace ph::win
