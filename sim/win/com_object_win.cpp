#include "sim/win/com_object_win.h"

#include <atomic>
#include <exception>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>

#include "cad/com/variant_convert_win.h"
#include "cad/ids.h"
#include "cad/members.h"
#include "cadsim_idl.h"
#include "sim/win/dispids.h"
#include "sim/win/typelib_win.h"

namespace sim {
namespace {

using cad::com::ComPtr;
using cad::com::Variant;

std::atomic<long> g_liveObjects{0};

const cad::com::DispatchBridge& bridge() {
    static const cad::com::DispatchBridge b{
        [](const cad::DispatchPtr& p) { return wrapForCom(p); },
        [](const ComPtr<IDispatch>&) -> cad::DispatchPtr {
            throw cad::CadError(L"Objects are not accepted as arguments.");
        }};
    return b;
}

// Publishes the host's failure text as the thread's error information, so that a client
// in another process reads it with GetErrorInfo.
void publishError(const std::wstring& text, const IID& iid) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return;
    create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
    create->SetSource(const_cast<LPOLESTR>(L"nanoCAD"));
    create->SetGUID(iid);
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.query(info))) SetErrorInfo(0, info.get());
}

void fillException(EXCEPINFO* excep, const std::wstring& text) {
    if (!excep) return;
    *excep = EXCEPINFO{};
    excep->bstrSource = SysAllocString(L"nanoCAD");
    excep->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    excep->scode = E_FAIL;
}

class ComObject final : public CadApplication, public CadPlot, public ISupportErrorInfo {
public:
    explicit ComObject(cad::DispatchPtr object) : object_(std::move(object)) {
        describedBy_ = interfaceOf(*object_);
        isApplication_ = supports(cad::kApplicationInterfaceId);
        isPlot_ = supports(cad::kPlotInterfaceId);
        ++g_liveObjects;
    }
    ~ComObject() { --g_liveObjects; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *out = static_cast<CadApplication*>(this);
        else if (iid == IID_ISupportErrorInfo)
            *out = static_cast<ISupportErrorInfo*>(this);
        else if (iid == __uuidof(CadApplication) && isApplication_)
            *out = static_cast<CadApplication*>(this);
        else if (iid == __uuidof(CadPlot) && isPlot_)
            *out = static_cast<CadPlot*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: the type information is that of the object's interface.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = describedBy_ && typeInfoOf(*describedBy_) ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0 || !describedBy_) return DISP_E_BADINDEX;
        *info = typeInfoOf(*describedBy_).detach();
        return *info ? S_OK : TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argError) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        const bool ours = iid == IID_IDispatch || (iid == __uuidof(CadApplication) && isApplication_) ||
                          (iid == __uuidof(CadPlot) && isPlot_);
        return ours ? S_OK : S_FALSE;
    }

    // CadApplication, for clients that bind to the vtable
    HRESULT STDMETHODCALLTYPE get_ActiveDocument(IDispatch** document) override {
        return callInto(cad::Operation::currentDocument, {}, document);
    }
    HRESULT STDMETHODCALLTYPE ZoomExtents() override {
        return callInto(cad::Operation::showWholeDrawing, {});
    }
    HRESULT STDMETHODCALLTYPE ZoomWindow(VARIANT lowerLeft, VARIANT upperRight) override {
        return callWithVariants(cad::Operation::showAreaInView, {&lowerLeft, &upperRight});
    }
    HRESULT STDMETHODCALLTYPE ZoomPrevious() override {
        return callInto(cad::Operation::showPreviousView, {});
    }
    HRESULT STDMETHODCALLTYPE get_HWND(LONG* handle) override {
        return callInto(cad::Operation::mainWindowHandle, {}, handle);
    }

    // CadPlot
    HRESULT STDMETHODCALLTYPE put_NumberOfCopies(LONG copies) override {
        return callInto(cad::Operation::setCopyCount, {std::int32_t{copies}});
    }
    HRESULT STDMETHODCALLTYPE PlotToDevice(VARIANT configuration, VARIANT_BOOL* done) override {
        return plotted(cad::Operation::runPlot, {&configuration}, done);
    }
    HRESULT STDMETHODCALLTYPE PlotToFile(BSTR fullName, VARIANT configuration, VARIANT_BOOL* done) override {
        VARIANT name;  // the caller's string, only read
        VariantInit(&name);
        V_VT(&name) = VT_BSTR;
        V_BSTR(&name) = fullName;
        return plotted(cad::Operation::plotToFile, {&name, &configuration}, done);
    }

private:
    bool supports(std::wstring_view iid) {
        try {
            return object_->queryInterface(iid) != nullptr;
        } catch (const cad::CadError&) {
            return false;
        }
    }
    // The member ids the object answers: those of its interface (an object that is not
    // the model's, which never comes here, would answer the common ones).
    Interface numbering() const { return describedBy_.value_or(Interface::Application); }
    const IID& ownInterface() const {
        if (isApplication_) return __uuidof(CadApplication);
        if (isPlot_) return __uuidof(CadPlot);
        return IID_IDispatch;
    }

    // One member call on the model object; a failure is published as error info.
    HRESULT call(std::wstring_view name, cad::CallKind kind, cad::ValueList& args, cad::Value& result,
                 std::wstring& failure) noexcept;
    HRESULT callInto(cad::Operation operation, cad::ValueList args, cad::Value* result = nullptr);
    HRESULT callInto(cad::Operation operation, cad::ValueList args, IDispatch** out);
    HRESULT callInto(cad::Operation operation, cad::ValueList args, LONG* out);
    HRESULT callWithVariants(cad::Operation operation, std::initializer_list<const VARIANT*> variants,
                             cad::Value* result = nullptr);
    // A plot call, its result as the vtable gives it.
    HRESULT plotted(cad::Operation operation, std::initializer_list<const VARIANT*> variants, VARIANT_BOOL* done) {
        if (!done) return E_POINTER;
        cad::Value out;
        const HRESULT hr = callWithVariants(operation, variants, &out);
        if (SUCCEEDED(hr)) *done = (out.is<bool>() && *out.get<bool>()) ? VARIANT_TRUE : VARIANT_FALSE;
        return hr;
    }

    std::atomic<ULONG> refs_{1};
    cad::DispatchPtr object_;
    std::optional<Interface> describedBy_;
    bool isApplication_ = false;
    bool isPlot_ = false;
};

HRESULT ComObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return E_INVALIDARG;
    ids[0] = names[0] ? dispatchIdOf(numbering(), names[0]) : kUnknownDispatchId;
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;  // our members take no named arguments
    return (ids[0] == DISPID_UNKNOWN || count > 1) ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT ComObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* excep, UINT* argError) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
    const std::wstring_view name = memberNameOf(numbering(), id);
    if (name.empty()) return DISP_E_MEMBERNOTFOUND;

    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (params->cNamedArgs > 1 || (params->cNamedArgs == 1 && !put)) return DISP_E_NONAMEDARGS;
    if (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;
    const bool method = (flags & DISPATCH_METHOD) && (isMethodName(name) || !(flags & DISPATCH_PROPERTYGET));
    const cad::CallKind kind = put ? cad::CallKind::Put : method ? cad::CallKind::Method : cad::CallKind::Get;

    // rgvarg holds the arguments last to first.
    const UINT n = params->cArgs;
    cad::ValueList args;
    try {
        args.reserve(n);
        for (UINT k = 0; k < n; ++k) {
            const UINT i = n - 1 - k;
            try {
                args.push_back(cad::com::fromVariant(params->rgvarg[i], bridge()));
            } catch (const cad::CadError&) {
                if (argError) *argError = i;
                return DISP_E_TYPEMISMATCH;
            }
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }

    cad::Value value;
    std::wstring failure;
    HRESULT hr = call(name, kind, args, value, failure);
    if (SUCCEEDED(hr)) {
        try {
            for (UINT k = 0; k < n && k < args.size(); ++k) {
                VARIANT& arg = params->rgvarg[n - 1 - k];
                if (V_VT(&arg) == (VT_BYREF | VT_VARIANT)) cad::com::writeOut(arg, args[k], bridge());
            }
            if (result) *result = cad::com::toVariant(value, bridge()).detach();
        } catch (const cad::CadError& e) {
            failure = e.text();
            publishError(failure, ownInterface());
            hr = DISP_E_EXCEPTION;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    if (hr == DISP_E_EXCEPTION) fillException(excep, failure);
    return hr;
}

HRESULT ComObject::call(std::wstring_view name, cad::CallKind kind, cad::ValueList& args, cad::Value& result,
                        std::wstring& failure) noexcept {
    try {
        try {
            result = object_->invoke(name, kind, args);
            SetErrorInfo(0, nullptr);  // no stale text from an earlier failure
            return S_OK;
        } catch (const cad::CadError& e) {
            failure = e.text();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::exception& e) {
            const std::string what = e.what();
            failure = L"Internal error: " + std::wstring(what.begin(), what.end());
        }
        publishError(failure, ownInterface());
        return DISP_E_EXCEPTION;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT ComObject::callInto(cad::Operation operation, cad::ValueList args, cad::Value* result) {
    cad::Value value;
    std::wstring failure;
    const cad::Member& m = cad::member(operation);
    const HRESULT hr = call(m.name, m.kind, args, value, failure);
    if (SUCCEEDED(hr) && result) *result = std::move(value);
    return hr == DISP_E_EXCEPTION ? E_FAIL : hr;  // a vtable caller has no EXCEPINFO; the text is in IErrorInfo
}

HRESULT ComObject::callInto(cad::Operation operation, cad::ValueList args, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    cad::Value value;
    const HRESULT hr = callInto(operation, std::move(args), &value);
    if (FAILED(hr)) return hr;
    const cad::DispatchPtr* p = value.get<cad::DispatchPtr>();
    if (!p) return E_UNEXPECTED;
    try {
        *out = wrapForCom(*p).detach();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT ComObject::callInto(cad::Operation operation, cad::ValueList args, LONG* out) {
    if (!out) return E_POINTER;
    cad::Value value;
    const HRESULT hr = callInto(operation, std::move(args), &value);
    if (FAILED(hr)) return hr;
    const std::int32_t* p = value.get<std::int32_t>();
    if (!p) return E_UNEXPECTED;
    *out = *p;
    return S_OK;
}

HRESULT ComObject::callWithVariants(cad::Operation operation, std::initializer_list<const VARIANT*> variants,
                                    cad::Value* result) {
    cad::ValueList args;
    try {
        for (const VARIANT* v : variants) args.push_back(cad::com::fromVariant(*v, bridge()));
    } catch (const cad::CadError&) {
        return DISP_E_TYPEMISMATCH;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return callInto(operation, std::move(args), result);
}

}  // namespace

cad::com::ComPtr<IDispatch> wrapForCom(const cad::DispatchPtr& object) {
    if (!object) return {};
    return ComPtr<IDispatch>::adopt(static_cast<CadApplication*>(new ComObject(object)));
}

long liveComObjects() { return g_liveObjects.load(); }

}  // namespace sim
