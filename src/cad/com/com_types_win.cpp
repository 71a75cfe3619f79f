#include "cad/com/com_types_win.h"

#include <new>

namespace cad::com {

BSTR BstrTraits::copy(BSTR s) {
    if (!s) return nullptr;
    BSTR result = SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s));
    if (!result) throw std::bad_alloc();
    return result;
}

VARIANT VariantTraits::copy(const VARIANT& v) {
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = VariantCopy(&result, const_cast<VARIANT*>(&v));  // the source is only read
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw CadError(L"値をコピーできません。");
    return result;
}

SAFEARRAY* SafeArrayTraits::copy(SAFEARRAY* a) {
    if (!a) return nullptr;
    SAFEARRAY* result = nullptr;
    HRESULT hr = SafeArrayCopy(a, &result);
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw CadError(L"配列をコピーできません。");
    return result;
}

Bstr makeBstr(std::wstring_view text) {
    BSTR s = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!s) throw std::bad_alloc();
    return Bstr::adopt(s);
}

std::wstring bstrText(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

SafeArrayData::SafeArrayData(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) throw CadError(L"配列を読み取れません。");
}

SafeArrayData::~SafeArrayData() { SafeArrayUnaccessData(array_); }

bool guidFromString(std::wstring_view text, GUID& out) {
    // IIDFromString takes only the braced form (no ProgID look-up, unlike CLSIDFromString).
    if (text.size() != 38) return false;
    std::wstring terminated(text);
    return SUCCEEDED(IIDFromString(terminated.c_str(), &out));
}

std::wstring guidToString(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

}  // namespace cad::com
