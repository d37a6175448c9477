// An element's inline style in MSHTML behind the document port: background colour and visibility.
#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {

// The browser hands the colour out as a VARIANT: a string, or a null string (or an empty VARIANT) when
// the element has none. Both of the latter read as "no value" and are written back as a null string,
// which is how the browser reported it.
StyleValue HtmlStyle::BackgroundColor() {
  if (!alive()) return std::nullopt;
  win::UniqueVariant value;
  if (FAILED(style_->get_backgroundColor(value.put()))) return std::nullopt;
  VARIANT* v = value.get();
  if (V_VT(v) == VT_EMPTY || V_VT(v) == VT_NULL) return std::nullopt;
  if (V_VT(v) != VT_BSTR && FAILED(::VariantChangeType(v, v, 0, VT_BSTR))) return std::nullopt;
  if (V_BSTR(v) == nullptr) return std::nullopt;
  return WideString(reinterpret_cast<const char16_t*>(V_BSTR(v)), ::SysStringLen(V_BSTR(v)));
}

bool HtmlStyle::SetBackgroundColor(const StyleValue& value) {
  if (!alive()) return false;
  win::UniqueBstr text;
  if (value) {
    text = win::UniqueBstr(WideView(*value));
    if (!text) return false;
  }
  win::UniqueVariant colour(std::move(text));
  return SUCCEEDED(style_->put_backgroundColor(*colour.get()));
}

bool HtmlStyle::SetVisibility(WideView value) {
  win::UniqueBstr text(value);
  return alive() && text && SUCCEEDED(style_->put_visibility(text.get()));
}

}  // namespace ph::mshtml
