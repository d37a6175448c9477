// The mouse events of MSHTML documents as the engine receives them: event objects read, invocations routed.
#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {

MouseEvent MouseEventFrom(IHTMLEventObj* event, LifetimePtr lifetime) {
  MouseEvent out;
  if (!event || (lifetime && !lifetime->alive())) return out;
  win::ComPtr<IHTMLElement> source;
  if (SUCCEEDED(event->get_srcElement(source.put()))) out.source = WrapElement(std::move(source), lifetime);
  long button = 0;
  if (SUCCEEDED(event->get_button(&button))) out.button = button;
  VARIANT_BOOL key = VARIANT_FALSE;
  out.shift = SUCCEEDED(event->get_shiftKey(&key)) && key != VARIANT_FALSE;
  key = VARIANT_FALSE;
  out.ctrl = SUCCEEDED(event->get_ctrlKey(&key)) && key != VARIANT_FALSE;
  key = VARIANT_FALSE;
  out.alt = SUCCEEDED(event->get_altKey(&key)) && key != VARIANT_FALSE;
  return out;
}

MouseEvent MouseEventFrom(IDispatch* event, LifetimePtr lifetime) {
  if (!event) return MouseEvent{};
  auto object = Query<IHTMLEventObj>(win::ComPtr<IDispatch>::Share(event));
  return MouseEventFrom(object.get(), std::move(lifetime));
}

bool RouteDocumentEvent(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink, LifetimePtr lifetime) {
  if (dispid != kDispidMouseOver && dispid != kDispidMouseUp) return false;
  // Arguments arrive last first: the event object is the last of the array.
  if (!params || params->cArgs < 1 || !params->rgvarg) return true;
  const VARIANT& first = params->rgvarg[params->cArgs - 1];
  IDispatch* object = nullptr;
  if (V_VT(&first) == VT_DISPATCH) object = V_DISPATCH(&first);
  if (V_VT(&first) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&first)) object = *V_DISPATCHREF(&first);
  if (!object) return true;
  const MouseEvent event = MouseEventFrom(object, std::move(lifetime));
  if (dispid == kDispidMouseOver) {
    sink.OnHover(event);
  } else {
    sink.OnClick(event);
  }
  return true;
}

}  // namespace ph::mshtml
