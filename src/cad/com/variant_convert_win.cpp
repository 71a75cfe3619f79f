#include "cad/com/variant_convert_win.h"

#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <type_traits>

namespace cad::com {
namespace {

// VARIANTs that refer to VARIANTs, or arrays of arrays, deeper than this are refused
// rather than followed (a reference to itself would otherwise never end).
constexpr int kMaxDepth = 16;

[[noreturn]] void fail(const std::wstring& what) { throw CadError(what); }

std::wstring vtText(VARTYPE vt) { return std::to_wstring(static_cast<unsigned>(vt)); }

SafeArray newVector(VARTYPE vt, size_t count) {
    if (count > std::numeric_limits<ULONG>::max()) throw std::bad_alloc();
    SAFEARRAY* a = SafeArrayCreateVector(vt, 0, static_cast<ULONG>(count));
    if (!a) throw std::bad_alloc();
    return SafeArray::adopt(a);
}

Variant arrayVariant(VARTYPE elementType, SafeArray array) {
    Variant result;
    V_VT(&result.get()) = VT_ARRAY | elementType;
    V_ARRAY(&result.get()) = array.detach();
    return result;
}

template <class T>
Variant plainArray(VARTYPE vt, const std::vector<T>& items) {
    SafeArray array = newVector(vt, items.size());
    if (!items.empty()) {
        SafeArrayData data(array.get());
        std::memcpy(data.data(), items.data(), items.size() * sizeof(T));
    }
    return arrayVariant(vt, std::move(array));
}

struct ToVariant {
    const DispatchBridge& bridge;

    Variant operator()(const Empty&) const { return Variant(); }
    Variant operator()(const Omitted&) const {
        Variant r;
        V_VT(&r.get()) = VT_ERROR;
        V_ERROR(&r.get()) = DISP_E_PARAMNOTFOUND;
        return r;
    }
    Variant operator()(bool b) const {
        Variant r;
        V_VT(&r.get()) = VT_BOOL;
        V_BOOL(&r.get()) = b ? VARIANT_TRUE : VARIANT_FALSE;
        return r;
    }
    Variant operator()(std::int16_t i) const {
        Variant r;
        V_VT(&r.get()) = VT_I2;
        V_I2(&r.get()) = i;
        return r;
    }
    Variant operator()(std::int32_t i) const {
        Variant r;
        V_VT(&r.get()) = VT_I4;
        V_I4(&r.get()) = i;
        return r;
    }
    Variant operator()(double d) const {
        Variant r;
        V_VT(&r.get()) = VT_R8;
        V_R8(&r.get()) = d;
        return r;
    }
    Variant operator()(const std::wstring& s) const {
        Variant r;
        V_BSTR(&r.get()) = makeBstr(s).detach();
        V_VT(&r.get()) = VT_BSTR;
        return r;
    }
    Variant operator()(const std::vector<double>& items) const { return plainArray(VT_R8, items); }
    Variant operator()(const std::vector<std::int16_t>& items) const { return plainArray(VT_I2, items); }
    Variant operator()(const std::vector<std::wstring>& items) const {
        SafeArray array = newVector(VT_BSTR, items.size());
        if (!items.empty()) {
            SafeArrayData data(array.get());
            BSTR* slots = static_cast<BSTR*>(data.data());
            for (size_t i = 0; i < items.size(); ++i) slots[i] = makeBstr(items[i]).detach();
        }
        return arrayVariant(VT_BSTR, std::move(array));
    }
    Variant operator()(const ValueList& items) const {
        SafeArray array = newVector(VT_VARIANT, items.size());
        if (!items.empty()) {
            SafeArrayData data(array.get());
            VARIANT* slots = static_cast<VARIANT*>(data.data());
            for (size_t i = 0; i < items.size(); ++i) slots[i] = std::visit(*this, items[i].v).detach();
        }
        return arrayVariant(VT_VARIANT, std::move(array));
    }
    Variant operator()(const DispatchPtr& object) const {
        Variant r;
        V_VT(&r.get()) = VT_DISPATCH;
        V_DISPATCH(&r.get()) = comObject(object);
        return r;
    }
    Variant operator()(const std::vector<DispatchPtr>& items) const {
        SafeArray array = newVector(VT_DISPATCH, items.size());
        if (!items.empty()) {
            SafeArrayData data(array.get());
            IDispatch** slots = static_cast<IDispatch**>(data.data());
            for (size_t i = 0; i < items.size(); ++i) slots[i] = comObject(items[i]);
        }
        return arrayVariant(VT_DISPATCH, std::move(array));
    }
    // One reference for the caller; null stays null.
    IDispatch* comObject(const DispatchPtr& object) const {
        if (!object) return nullptr;
        if (!bridge.toCom) fail(L"ここにはオブジェクトを渡せません。");
        return bridge.toCom(object).detach();
    }
};

Value fromVariantAt(const VARIANT& v, const DispatchBridge& bridge, int depth);

DispatchPtr objectFrom(IDispatch* object, const DispatchBridge& bridge) {
    if (!object) return nullptr;
    if (!bridge.fromCom) fail(L"ここではオブジェクトを受け取れません。");
    return bridge.fromCom(ComPtr<IDispatch>(object));
}

std::int32_t narrowed(long long value) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        fail(L"CAD が範囲外の数値を返しました。");
    return static_cast<std::int32_t>(value);
}

// The size an array element of this type must have; 0 for types not read.
ULONG elementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: return 8;
        case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN: return sizeof(void*);
        case VT_VARIANT: return sizeof(VARIANT);
        default: return 0;
    }
}

Value emptyArray(VARTYPE vt) {
    switch (vt) {
        case VT_R8: return std::vector<double>();
        case VT_I2: return std::vector<std::int16_t>();
        case VT_BSTR: return std::vector<std::wstring>();
        case VT_DISPATCH: return std::vector<DispatchPtr>();
        default: return ValueList();
    }
}

Value fromArray(SAFEARRAY* array, VARTYPE vt, const DispatchBridge& bridge, int depth) {
    if (!array) return emptyArray(vt);
    if (SafeArrayGetDim(array) != 1) fail(L"CAD が多次元の配列を返しました。");
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        fail(L"CAD が読み取れない配列を返しました。");
    const long long count = static_cast<long long>(upper) - lower + 1;
    if (count < 0) fail(L"CAD が読み取れない配列を返しました。");
    VARTYPE declared = VT_EMPTY;
    if (SUCCEEDED(SafeArrayGetVartype(array, &declared)) && declared != vt)
        fail(L"CAD が要素の型の合わない配列を返しました。");
    if (elementSize(vt) == 0) fail(L"CAD が扱えない型 (" + vtText(vt) + L") の配列を返しました。");
    if (SafeArrayGetElemsize(array) != elementSize(vt))
        fail(L"CAD が要素の型の合わない配列を返しました。");
    const size_t n = static_cast<size_t>(count);
    if (n == 0) return emptyArray(vt);

    if (vt == VT_R8 || vt == VT_I2 || vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_VARIANT) {
        SafeArrayData data(array);
        if (vt == VT_R8) {
            const double* items = static_cast<const double*>(data.data());
            return std::vector<double>(items, items + n);
        }
        if (vt == VT_I2) {
            const SHORT* items = static_cast<const SHORT*>(data.data());
            return std::vector<std::int16_t>(items, items + n);
        }
        if (vt == VT_BSTR) {
            const BSTR* items = static_cast<const BSTR*>(data.data());
            std::vector<std::wstring> result;
            result.reserve(n);
            for (size_t i = 0; i < n; ++i) result.push_back(bstrText(items[i]));
            return result;
        }
        if (vt == VT_DISPATCH) {
            IDispatch* const* items = static_cast<IDispatch* const*>(data.data());
            std::vector<DispatchPtr> result;
            result.reserve(n);
            for (size_t i = 0; i < n; ++i) result.push_back(objectFrom(items[i], bridge));
            return result;
        }
        const VARIANT* items = static_cast<const VARIANT*>(data.data());
        ValueList result;
        result.reserve(n);
        for (size_t i = 0; i < n; ++i) result.push_back(fromVariantAt(items[i], bridge, depth + 1));
        return result;
    }

    // Any other element type: each element through a VARIANT of that type.
    ValueList result;
    result.reserve(n);
    for (LONG i = lower; i <= upper; ++i) {
        Variant item;
        if (FAILED(SafeArrayGetElement(array, &i, &V_UI1(&item.get()))))
            fail(L"CAD が読み取れない配列を返しました。");
        V_VT(&item.get()) = vt;
        result.push_back(fromVariantAt(item.get(), bridge, depth + 1));
    }
    return result;
}

Value fromVariantAt(const VARIANT& v, const DispatchBridge& bridge, int depth) {
    if (depth > kMaxDepth) fail(L"CAD が入れ子の深すぎる値を返しました。");
    const VARTYPE vt = V_VT(&v);
    if (vt & VT_BYREF) {
        if (!V_BYREF(&v)) fail(L"CAD が空の参照を返しました。");
        if (vt == (VT_BYREF | VT_VARIANT)) return fromVariantAt(*V_VARIANTREF(&v), bridge, depth + 1);
        Variant plain;
        if (FAILED(VariantCopyInd(plain.put(), const_cast<VARIANT*>(&v)))) fail(L"CAD が読み取れない参照を返しました。");
        return fromVariantAt(plain.get(), bridge, depth + 1);
    }
    if (vt & VT_ARRAY) return fromArray(V_ARRAY(&v), vt & VT_TYPEMASK, bridge, depth);
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL: return Empty{};
        case VT_ERROR:
            if (V_ERROR(&v) == DISP_E_PARAMNOTFOUND) return Omitted{};
            fail(L"CAD がエラー値を返しました。");
        case VT_BOOL: return V_BOOL(&v) != VARIANT_FALSE;
        case VT_I2: return static_cast<std::int16_t>(V_I2(&v));
        case VT_I4: return static_cast<std::int32_t>(V_I4(&v));
        case VT_INT: return static_cast<std::int32_t>(V_INT(&v));
        case VT_I1: return static_cast<std::int32_t>(V_I1(&v));
        case VT_UI1: return static_cast<std::int32_t>(V_UI1(&v));
        case VT_UI2: return static_cast<std::int32_t>(V_UI2(&v));
        case VT_UI4: return narrowed(V_UI4(&v));
        case VT_UINT: return narrowed(V_UINT(&v));
        case VT_I8: return narrowed(V_I8(&v));
        case VT_UI8:
            if (V_UI8(&v) > static_cast<ULONGLONG>(std::numeric_limits<std::int32_t>::max()))
                fail(L"CAD が範囲外の数値を返しました。");
            return static_cast<std::int32_t>(V_UI8(&v));
        case VT_R8: return V_R8(&v);
        case VT_R4: return static_cast<double>(V_R4(&v));
        case VT_BSTR: return bstrText(V_BSTR(&v));
        case VT_DISPATCH: return objectFrom(V_DISPATCH(&v), bridge);
        case VT_UNKNOWN: {
            if (!V_UNKNOWN(&v)) return DispatchPtr();
            ComPtr<IDispatch> object;
            if (FAILED(ComPtr<IUnknown>(V_UNKNOWN(&v)).query(object)))
                fail(L"CAD がオートメーションに対応しないオブジェクトを返しました。");
            return objectFrom(object.get(), bridge);
        }
        default: fail(L"CAD が扱えない型 (" + vtText(vt) + L") の値を返しました。");
    }
}

}  // namespace

Variant toVariant(const Value& value, const DispatchBridge& bridge) { return std::visit(ToVariant{bridge}, value.v); }

Value fromVariant(const VARIANT& variant, const DispatchBridge& bridge) { return fromVariantAt(variant, bridge, 0); }

bool writeOut(VARIANT& byRefArgument, const Value& value, const DispatchBridge& bridge) {
    if (V_VT(&byRefArgument) != (VT_BYREF | VT_VARIANT) || !V_VARIANTREF(&byRefArgument)) return false;
    Variant converted = toVariant(value, bridge);
    VARIANT* target = V_VARIANTREF(&byRefArgument);
    VariantClear(target);
    *target = converted.detach();
    return true;
}

}  // namespace cad::com
