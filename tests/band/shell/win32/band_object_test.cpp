// The band object as the browser creates and questions it: interfaces, factory, unloading, band sizes.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "grab_plugin_h.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_handle.h"
#include "tests/band/shell/win32/band_library.h"
#include "tests/controller/shell/win32/controller_program.h"

namespace ph::test {
namespace {

template <typename T>
win::ComPtr<T> Query(IUnknown* from, REFIID iid, HRESULT* hr = nullptr) {
  win::ComPtr<T> out;
  const HRESULT result = from->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
  if (hr) *hr = result;
  return out;
}

class BandObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RemoveProductKey();
    ASSERT_EQ(library_.Regsvr32(), 0);
  }
  void TearDown() override {
    RemoveProductKey();
    ::CoUninitialize();
  }

  win::ComPtr<IUnknown> Create(HRESULT* hr = nullptr) {
    win::ComPtr<IUnknown> band;
    const HRESULT result = ::CoCreateInstance(CLSID_GrabPluginBand, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                              reinterpret_cast<void**>(band.put()));
    if (hr) *hr = result;
    return band;
  }

  BandLibrary library_;
};

TEST_F(BandObjectTest, AnswersItsFiveInterfacesAndRefusesTheWindowOnesItCarries) {
  HRESULT hr = E_FAIL;
  const auto band = Create(&hr);
  ASSERT_EQ(hr, S_OK);
  const auto own = Query<IGrabPluginBand>(band.get(), IID_IGrabPluginBand);
  const auto dispatch = Query<IDispatch>(band.get(), IID_IDispatch);
  ASSERT_TRUE(own);
  EXPECT_EQ(static_cast<IDispatch*>(own.get()), dispatch.get());
  EXPECT_TRUE(Query<IObjectWithSite>(band.get(), IID_IObjectWithSite));
  EXPECT_TRUE(Query<IPersistStream>(band.get(), IID_IPersistStream));
  const auto desk_band = Query<IDeskBand>(band.get(), IID_IDeskBand);
  ASSERT_TRUE(desk_band);
  for (const IID* refused : {&IID_IOleWindow, &IID_IDockingWindow, &IID_IInputObject, &IID_IPersist}) {
    Query<IUnknown>(band.get(), *refused, &hr);
    EXPECT_EQ(hr, E_NOINTERFACE);
  }
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(desk_band->GetWindow(&window), S_OK);  // no site yet: no toolbar
  EXPECT_EQ(window, nullptr);

  UINT count = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  win::ComPtr<ITypeInfo> info;
  ASSERT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IGrabPluginBand));
  info->ReleaseTypeAttr(attributes);

  CLSID clsid = {};
  EXPECT_EQ(Query<IPersistStream>(band.get(), IID_IPersistStream)->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_GrabPluginBand));
  win::ComPtr<IUnknown> site;
  EXPECT_EQ(Query<IObjectWithSite>(band.get(), IID_IObjectWithSite)->GetSite(IID_IUnknown,
                                                                          reinterpret_cast<void**>(site.put())),
            E_FAIL);
  EXPECT_FALSE(site);
}

// An aggregator that counts the questions its inner object passes on to it.
class Outer : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    ++questions;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown)) return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  IUnknown* inner = nullptr;
  int questions = 0;
};

TEST_F(BandObjectTest, AnAggregatorGetsTheInnerUnknownOnlyAndItsQuestionsComeBackToIt) {
  Outer outer;
  win::ComPtr<IUnknown> inner;
  EXPECT_EQ(::CoCreateInstance(CLSID_GrabPluginBand, &outer, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                               reinterpret_cast<void**>(inner.put())),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(::CoCreateInstance(CLSID_GrabPluginBand, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(inner.put())),
            S_OK);
  outer.inner = inner.get();
  const auto band = Query<IDeskBand>(inner.get(), IID_IDeskBand);
  ASSERT_TRUE(band);
  const int before = outer.questions;
  win::ComPtr<IPersistStream> persist;
  EXPECT_EQ(band->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.put())), S_OK);
  EXPECT_EQ(outer.questions, before + 1);
  persist.reset();
  outer.inner = nullptr;
}

TEST_F(BandObjectTest, TheLibraryMayBeUnloadedOnlyWithoutObjectsAndLocks) {
  const win::UniqueHmodule module(::LoadLibraryA(library_.path().c_str()));
  ASSERT_TRUE(module);
  using CanUnload = HRESULT(WINAPI*)();
  const auto can_unload = reinterpret_cast<CanUnload>(::GetProcAddress(module.get(), "DllCanUnloadNow"));
  ASSERT_TRUE(can_unload);
  auto band = Create();
  ASSERT_TRUE(band);
  EXPECT_EQ(can_unload(), S_FALSE);
  band.reset();
  EXPECT_EQ(can_unload(), S_OK);
  win::ComPtr<IClassFactory> factory;
  ASSERT_EQ(::CoGetClassObject(CLSID_GrabPluginBand, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(factory.put())),
            S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(can_unload(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(can_unload(), S_OK);
}

TEST_F(BandObjectTest, BandInfoTakesItsHeightFromTheSettingsAndAnEmptyTitle) {
  const auto band = Query<IDeskBand>(Create().get(), IID_IDeskBand);
  ASSERT_TRUE(band);
  EXPECT_EQ(band->GetBandInfo(0, 0, nullptr), E_INVALIDARG);
  win::UniqueHkey key;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, reg::kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr),
            ERROR_SUCCESS);
  const struct {
    DWORD icon, text;
    LONG height;
  } cases[] = {{1, 1, 52}, {0, 1, 44}, {1, 0, 38}, {0, 2, 22}};
  for (const auto& c : cases) {
    ::RegSetValueExA(key.get(), reg::kBandIconSize, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&c.icon), 4);
    ::RegSetValueExA(key.get(), reg::kBandTextStyle, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&c.text), 4);
    DESKBANDINFO info = {};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_ACTUAL | DBIM_INTEGRAL | DBIM_MODEFLAGS | DBIM_BKCOLOR;
    ASSERT_EQ(band->GetBandInfo(0, DBIF_VIEWMODE_NORMAL, &info), S_OK);
    EXPECT_EQ(info.ptMinSize.y, c.height);
    EXPECT_EQ(info.ptMaxSize.y, c.height);
    EXPECT_EQ(info.ptActual.y, c.height);
    EXPECT_EQ(info.ptMinSize.x, 10);
    EXPECT_EQ(info.ptMaxSize.x, 200);
    EXPECT_EQ(info.ptActual.x, 130);
    EXPECT_EQ(info.ptIntegral.x, 1);
    EXPECT_EQ(info.dwModeFlags, static_cast<DWORD>(DBIMF_VARIABLEHEIGHT));
    EXPECT_EQ(info.dwMask & DBIM_BKCOLOR, 0u);
  }
  // The title alone fills in no size.
  DESKBANDINFO title = {};
  title.dwMask = DBIM_TITLE;
  title.wszTitle[0] = L'x';
  ASSERT_EQ(band->GetBandInfo(0, 0, &title), S_OK);
  EXPECT_EQ(title.wszTitle[0], L'\0');
  EXPECT_EQ(title.ptMinSize.y, 0);
}

}  // namespace
}  // namespace ph::test
