// Access files on Windows: the DAO database engine, reached by late-bound COM.
#include <cstdio>
#include <memory>
#include <utility>

#include "controller/outputs/database.h"
#include "controller/outputs/database_statements.h"
#include "platform/code_page.h"
#include "platform/win32/com_ptr.h"

namespace ph {
namespace {

using win::ComPtr;
using win::UniqueBstr;
using win::UniqueVariant;
using Dispatch = ComPtr<IDispatch>;

// The engines of Access 2007 and later, then Jet 4.0: whichever is installed.
constexpr const wchar_t* kEngineProgIds[] = {L"DAO.DBEngine.120", L"DAO.DBEngine.36"};

constexpr long kDbOpenTable = 1;
constexpr long kDbFailOnError = 128;

std::string HresultText(const char* what, HRESULT hr) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (error 0x%08lX).", what,
                static_cast<unsigned long>(hr));
  return text;
}

// Calls a method or property of a DAO object by name. Arguments come in their natural order; a
// DAO error arrives as an exception whose description is what the user is shown.
class DaoCaller {
 public:
  explicit DaoCaller(std::shared_ptr<const CodePage> code_page)
      : code_page_(std::move(code_page)) {}

  bool Call(IDispatch* object, const wchar_t* name, WORD flags,
            std::initializer_list<VARIANT*> args, VARIANT* result, std::string* error) const {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
      *error = HresultText("The DAO engine's interface", hr);
      return false;
    }
    std::vector<VARIANT> reversed(args.size());
    std::size_t i = args.size();
    for (VARIANT* a : args) reversed[--i] = *a;  // shallow: the caller keeps ownership
    DISPID named_put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &named_put;
      params.cNamedArgs = 1;
    }
    EXCEPINFO exception = {};
    UINT bad_argument = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                        &bad_argument);
    if (SUCCEEDED(hr)) return true;
    if (hr == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
      const UniqueBstr source(exception.bstrSource);
      const UniqueBstr description(exception.bstrDescription);
      const UniqueBstr help_file(exception.bstrHelpFile);
      *error = description ? code_page_->ToAnsi(std::u16string(description.view()))
                           : HresultText("The DAO engine", exception.scode ? exception.scode : hr);
      return false;
    }
    *error = HresultText("The DAO engine", hr);
    return false;
  }

  // A call whose result is another DAO object.
  bool Object(IDispatch* object, const wchar_t* name, WORD flags,
              std::initializer_list<VARIANT*> args, Dispatch* out, std::string* error) const {
    UniqueVariant result;
    if (!Call(object, name, flags, args, result.put(), error)) return false;
    *out = result.TakeDispatch();
    if (*out) return true;
    *error = "The DAO engine returned no object.";
    return false;
  }

  const CodePage& code_page() const { return *code_page_; }

 private:
  std::shared_ptr<const CodePage> code_page_;
};

VARIANT Long(long value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT Bool(bool value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

class DaoDatabase : public AccessDatabase {
 public:
  DaoDatabase(Dispatch engine, Dispatch database, DaoCaller dao)
      : engine_(std::move(engine)), database_(std::move(database)), dao_(dao) {}
  ~DaoDatabase() override {
    std::string ignored;
    dao_.Call(database_.get(), L"Close", DISPATCH_METHOD, {}, nullptr, &ignored);
  }

  bool Execute(std::string_view sql, std::string* error) override {
    UniqueVariant query(UniqueBstr(dao_.code_page().FromAnsi(sql)));
    VARIANT options = Long(kDbFailOnError);
    return dao_.Call(database_.get(), L"Execute", DISPATCH_METHOD, {query.get(), &options}, nullptr,
                     error);
  }

  AppendOutcome AppendContentRow(std::string_view table, const ContentRow& row,
                                 std::string* error) override {
    UniqueVariant name(UniqueBstr(dao_.code_page().FromAnsi(table)));
    VARIANT type = Long(kDbOpenTable);
    Dispatch recordset;
    if (!dao_.Object(database_.get(), L"OpenRecordset", DISPATCH_METHOD, {name.get(), &type},
                     &recordset, error))
      return AppendOutcome::kUpdateFailed;
    const AppendOutcome outcome = Append(recordset.get(), row, error);
    std::string close_error;
    dao_.Call(recordset.get(), L"Close", DISPATCH_METHOD, {}, nullptr, &close_error);
    return outcome;
  }

 private:
  AppendOutcome Append(IDispatch* recordset, const ContentRow& row, std::string* error) {
    UniqueVariant updatable;
    if (!dao_.Call(recordset, L"Updatable", DISPATCH_PROPERTYGET, {}, updatable.put(), error))
      return AppendOutcome::kUpdateFailed;
    if (V_VT(updatable.get()) == VT_BOOL && V_BOOL(updatable.get()) == VARIANT_FALSE)
      return AppendOutcome::kNotAppendable;
    if (!dao_.Call(recordset, L"AddNew", DISPATCH_METHOD, {}, nullptr, error))
      return AppendOutcome::kUpdateFailed;
    if (FillAndUpdate(recordset, row, error)) return AppendOutcome::kAppended;
    std::string ignored;
    VARIANT cancel_update = Long(1);  // dbUpdateRegular: drop the half-filled new record
    dao_.Call(recordset, L"CancelUpdate", DISPATCH_METHOD, {&cancel_update}, nullptr, &ignored);
    return AppendOutcome::kUpdateFailed;
  }

  // Sets the three content fields of the new record and stores it.
  bool FillAndUpdate(IDispatch* recordset, const ContentRow& row, std::string* error) {
    UniqueVariant date;
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(row.content_date.year);
    time.wMonth = static_cast<WORD>(row.content_date.month);
    time.wDay = static_cast<WORD>(row.content_date.day);
    time.wHour = static_cast<WORD>(row.content_date.hour);
    time.wMinute = static_cast<WORD>(row.content_date.minute);
    time.wSecond = static_cast<WORD>(row.content_date.second);
    V_VT(date.get()) = VT_DATE;
    SystemTimeToVariantTime(&time, &V_DATE(date.get()));
    UniqueVariant url(UniqueBstr(CutToColumn(dao_.code_page().FromAnsi(row.url), kUrlColumnSize)));
    UniqueVariant content(
        UniqueBstr(CutToColumn(dao_.code_page().FromAnsi(row.content), kContentColumnSize)));

    Dispatch fields;
    if (!dao_.Object(recordset, L"Fields", DISPATCH_PROPERTYGET, {}, &fields, error)) return false;
    VARIANT* values[] = {date.get(), url.get(), content.get()};
    for (long position = 1; position <= 3; ++position) {
      VARIANT index = Long(position);
      Dispatch field;
      if (!dao_.Object(fields.get(), L"Item", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {&index},
                       &field, error) ||
          !dao_.Call(field.get(), L"Value", DISPATCH_PROPERTYPUT, {values[position - 1]}, nullptr,
                     error))
        return false;
    }
    return dao_.Call(recordset, L"Update", DISPATCH_METHOD, {}, nullptr, error);
  }

  Dispatch engine_;  // the database belongs to it: released last
  Dispatch database_;
  DaoCaller dao_;
};

class DaoEngine : public AccessEngine {
 public:
  DaoEngine() : dao_(MakeSystemCodePage()) {}

  std::unique_ptr<AccessDatabase> Open(std::string_view path, std::string_view connect,
                                       std::string* error) override {
    Dispatch engine;
    if (!CreateEngine(&engine, error)) return nullptr;
    UniqueVariant name(UniqueBstr(dao_.code_page().FromAnsi(path)));
    VARIANT exclusive = Bool(false);
    VARIANT read_only = Bool(false);
    UniqueVariant connect_text(UniqueBstr(dao_.code_page().FromAnsi(connect)));
    Dispatch database;
    if (!dao_.Object(engine.get(), L"OpenDatabase", DISPATCH_METHOD,
                     {name.get(), &exclusive, &read_only, connect_text.get()}, &database, error))
      return nullptr;
    return std::make_unique<DaoDatabase>(std::move(engine), std::move(database), dao_);
  }

 private:
  static bool CreateEngine(Dispatch* engine, std::string* error) {
    for (const wchar_t* prog_id : kEngineProgIds) {
      CLSID clsid;
      if (FAILED(CLSIDFromProgID(prog_id, &clsid))) continue;
      const HRESULT hr =
          CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                           IID_IDispatch, reinterpret_cast<void**>(engine->put()));
      if (SUCCEEDED(hr)) return true;
      *error = HresultText("Starting the DAO database engine", hr);
      return false;
    }
    *error = kNoAccessEngineMessage;
    return false;
  }

  DaoCaller dao_;
};

}  // namespace

std::unique_ptr<AccessEngine> MakeAccessEngine() {
  return std::make_unique<DaoEngine>();
}

}  // namespace ph
