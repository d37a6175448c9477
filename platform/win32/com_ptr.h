// Owners for COM references, BSTRs and VARIANTs: the COM half of the RAII wrappers beside unique_handle.h.
#pragma once

#include <windows.h>
#include <objbase.h>
// OLE Automation needs the Windows types declared first.
#include <oleauto.h>

#include <string_view>
#include <utility>

namespace ph::win {

// One reference to a COM object. Copies take a reference of their own, so no copy ever releases
// another's. A raw pointer becomes one only by name: Adopt or Share says whose reference it is.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (a new object's first, an out parameter's).
  static ComPtr Adopt(T* p) { return ComPtr(p); }
  // Takes a reference of its own to an object the caller only borrows.
  static ComPtr Share(T* p) {
    if (p) p->AddRef();
    return ComPtr(p);
  }
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For calls that return a reference through an out parameter; releases what was held first.
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }

 private:
  explicit ComPtr(T* p) : p_(p) {}

  T* p_ = nullptr;
};

// COM for this thread (a single-threaded apartment), released with the object or by Release.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComApartment() { Release(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  void Release() {
    if (ok_) ::CoUninitialize();
    ok_ = false;
  }

 private:
  bool ok_;
};

// A BSTR, freed with the object.
class UniqueBstr {
 public:
  UniqueBstr() = default;
  // Adopts a string the caller owns (null is allowed).
  explicit UniqueBstr(BSTR b) : b_(b) {}
  // A copy of UTF-16 text; null when memory ran out.
  explicit UniqueBstr(std::u16string_view text)
      : b_(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
  UniqueBstr(UniqueBstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& o) noexcept {
    if (this != &o) {
      ::SysFreeString(b_);
      b_ = std::exchange(o.b_, nullptr);
    }
    return *this;
  }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(b_); }

  BSTR get() const { return b_; }
  explicit operator bool() const { return b_ != nullptr; }
  BSTR* put() {
    ::SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  BSTR release() { return std::exchange(b_, nullptr); }
  std::u16string_view view() const {
    return b_ ? std::u16string_view(reinterpret_cast<const char16_t*>(b_), ::SysStringLen(b_))
              : std::u16string_view();
  }

 private:
  BSTR b_ = nullptr;
};

// A VARIANT that clears itself, and with it whatever string or object it holds.
class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&v_); }
  // Holds the string, which it frees.
  explicit UniqueVariant(UniqueBstr text) : UniqueVariant() {
    V_VT(&v_) = VT_BSTR;
    V_BSTR(&v_) = text.release();
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { ::VariantClear(&v_); }

  VARIANT* get() { return &v_; }
  // For calls that fill a VARIANT; clears what was held first.
  VARIANT* put() {
    ::VariantClear(&v_);
    return &v_;
  }
  // The object the VARIANT holds, handed over with its reference; empty when it holds none.
  ComPtr<IDispatch> TakeDispatch() {
    if (V_VT(&v_) != VT_DISPATCH || !V_DISPATCH(&v_)) return {};
    ComPtr<IDispatch> out = ComPtr<IDispatch>::Adopt(V_DISPATCH(&v_));
    V_VT(&v_) = VT_EMPTY;
    return out;
  }

 private:
  VARIANT v_;
};

}  // namespace ph::win
