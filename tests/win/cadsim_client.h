// Test helper: plain late-bound calls on an IDispatch, the way any automation client
// makes them, with the HRESULT, EXCEPINFO text and the thread's IErrorInfo text kept.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "cad/com/com_types_win.h"

namespace cadsim_test {

using cad::com::ComPtr;
using cad::com::Variant;

struct CallResult {
    HRESULT hr = E_FAIL;
    Variant value;
    std::wstring exceptionText;  // EXCEPINFO's description
    std::wstring errorInfoText;  // GetErrorInfo's description
};

inline Variant bstrVariant(const std::wstring& text) {
    Variant v;
    V_VT(&v.get()) = VT_BSTR;
    V_BSTR(&v.get()) = cad::com::makeBstr(text).detach();
    return v;
}
inline Variant i4Variant(LONG i) {
    Variant v;
    V_VT(&v.get()) = VT_I4;
    V_I4(&v.get()) = i;
    return v;
}
inline Variant omittedVariant() {
    Variant v;
    V_VT(&v.get()) = VT_ERROR;
    V_ERROR(&v.get()) = DISP_E_PARAMNOTFOUND;
    return v;
}

inline Variant pointVariant(const std::vector<double>& xy) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(xy.size()));
    for (LONG i = 0; i < static_cast<LONG>(xy.size()); ++i) SafeArrayPutElement(a, &i, const_cast<double*>(&xy[i]));
    Variant v;
    V_VT(&v.get()) = VT_ARRAY | VT_R8;
    V_ARRAY(&v.get()) = a;
    return v;
}

// Calls a member by name; `args` in call order (reversed here, as Invoke takes them).
inline CallResult call(IDispatch* object, const std::wstring& name, WORD flags, std::vector<VARIANT> args = {}) {
    CallResult r;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
    r.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(r.hr)) return r;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO excep{};
    UINT argError = 0;
    SetErrorInfo(0, nullptr);
    r.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, r.value.put(), &excep, &argError);
    if (r.hr == DISP_E_EXCEPTION) {
        r.exceptionText = cad::com::bstrText(excep.bstrDescription);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrHelpFile);
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.put()) == S_OK && info) {
            BSTR text = nullptr;
            info->GetDescription(&text);
            r.errorInfoText = cad::com::bstrText(text);
            SysFreeString(text);
        }
    }
    return r;
}

inline ComPtr<IDispatch> objectOf(const CallResult& r) {
    if (V_VT(&r.value.get()) != VT_DISPATCH) return {};
    return ComPtr<IDispatch>(V_DISPATCH(&r.value.get()));
}

// The doubles of a VT_ARRAY|VT_R8 result (empty for anything else).
inline std::vector<double> doublesOf(const VARIANT& v) {
    const VARIANT& inner = V_VT(&v) == (VT_BYREF | VT_VARIANT) ? *V_VARIANTREF(&v) : v;
    if (V_VT(&inner) != (VT_ARRAY | VT_R8) || !V_ARRAY(&inner)) return {};
    SAFEARRAY* a = V_ARRAY(&inner);
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(a, 1, &lo);
    SafeArrayGetUBound(a, 1, &hi);
    std::vector<double> out;
    for (LONG i = lo; i <= hi; ++i) {
        double d = 0;
        SafeArrayGetElement(a, &i, &d);
        out.push_back(d);
    }
    return out;
}

}  // namespace cadsim_test
