// COM on Windows: interface ids for ComPtr::query, the owning BSTR, VARIANT and
// SAFEARRAY* types, the apartment scope, and GUIDs from their registry form.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <objbase.h>

#include <concepts>
#include <string>
#include <string_view>

#include "cad/com_ptr.h"
#include "cad/value.h"

namespace cad::com {

template <class U>
    requires std::derived_from<U, IUnknown>
struct InterfaceIdOf<U> {
    static const IID& value() { return __uuidof(U); }
};

struct BstrTraits {
    using Type = BSTR;
    static BSTR empty() noexcept { return nullptr; }
    static void release(BSTR s) noexcept { SysFreeString(s); }
    static BSTR copy(BSTR s);
};

struct VariantTraits {
    using Type = VARIANT;
    static VARIANT empty() noexcept {
        VARIANT v;
        VariantInit(&v);
        return v;
    }
    static void release(VARIANT& v) noexcept { VariantClear(&v); }
    static VARIANT copy(const VARIANT& v);
};

struct SafeArrayTraits {
    using Type = SAFEARRAY*;
    static SAFEARRAY* empty() noexcept { return nullptr; }
    static void release(SAFEARRAY* a) noexcept {
        if (a) SafeArrayDestroy(a);
    }
    static SAFEARRAY* copy(SAFEARRAY* a);
};

using Bstr = Owned<BstrTraits>;
using Variant = Owned<VariantTraits>;
using SafeArray = Owned<SafeArrayTraits>;

// A new BSTR holding the text (embedded nulls kept); throws std::bad_alloc.
Bstr makeBstr(std::wstring_view text);
// The text of a BSTR; a null BSTR is the empty text.
std::wstring bstrText(BSTR s);

// Access to a safe array's elements for as long as it lives.
class SafeArrayData {
public:
    explicit SafeArrayData(SAFEARRAY* array);  // throws CadError when the array is locked
    ~SafeArrayData();
    SafeArrayData(const SafeArrayData&) = delete;
    SafeArrayData& operator=(const SafeArrayData&) = delete;
    void* data() const { return data_; }

private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

// COM initialised on this thread (single-threaded apartment by default) for as long
// as the scope lives; uninitialised again only when this scope initialised it.
class ComInit {
public:
    explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComInit() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    bool ok() const { return SUCCEEDED(hr_); }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// A GUID from its registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; false when
// the text is not one.
bool guidFromString(std::wstring_view text, GUID& out);
// The registry form of a GUID, upper-case hexadecimal in braces.
std::wstring guidToString(const GUID& guid);

}  // namespace cad::com
