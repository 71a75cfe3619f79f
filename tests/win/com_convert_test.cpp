// cad::Value <-> VARIANT: what each value becomes, what the host may send back, and
// the ill-formed VARIANTs that must become CadError.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cad/com/variant_convert_win.h"
#include "com_scripted_object.h"

namespace {

using namespace cad;
using namespace cad::com;

const DispatchBridge kNoObjects{};

std::wstring describe(const Value& value);
template <class T>
std::wstring describeList(const std::vector<T>& items) {
    std::wstring out = L"[";
    for (const T& item : items) out += (out.size() > 1 ? L"," : L"") + describe(Value(item));
    return out + L"]";
}
std::wstring describe(const Value& value) {
    struct Visit {
        std::wstring operator()(const Empty&) const { return L"empty"; }
        std::wstring operator()(const Omitted&) const { return L"omitted"; }
        std::wstring operator()(bool b) const { return b ? L"true" : L"false"; }
        std::wstring operator()(std::int16_t i) const { return L"i2:" + std::to_wstring(i); }
        std::wstring operator()(std::int32_t i) const { return L"i4:" + std::to_wstring(i); }
        std::wstring operator()(double d) const { return L"r8:" + std::to_wstring(d); }
        std::wstring operator()(const std::wstring& s) const { return L"'" + s + L"'"; }
        std::wstring operator()(const std::vector<double>& v) const { return L"r8" + describeList(v); }
        std::wstring operator()(const std::vector<std::int16_t>& v) const { return L"i2" + describeList(v); }
        std::wstring operator()(const std::vector<std::wstring>& v) const { return L"bstr" + describeList(v); }
        std::wstring operator()(const ValueList& v) const { return L"var" + describeList(v); }
        std::wstring operator()(const DispatchPtr& d) const { return d ? L"object" : L"null"; }
        std::wstring operator()(const std::vector<DispatchPtr>& v) const { return L"dispatch" + describeList(v); }
    };
    return std::visit(Visit{}, value.v);
}

std::string narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

struct RoundTrip {
    Value value;
    VARTYPE vt;
};

TEST(VariantConvert, EveryValueBecomesItsVariantTypeAndReadsBackTheSame) {
    const std::wstring withNull(L"a\0b", 3);
    const RoundTrip cases[] = {
        {Empty{}, VT_EMPTY},
        {Omitted{}, VT_ERROR},
        {true, VT_BOOL},
        {false, VT_BOOL},
        {std::int16_t{-8}, VT_I2},
        {std::int32_t{0x10020}, VT_I4},
        {0.1, VT_R8},
        {L"任意枠配置", VT_BSTR},
        {withNull, VT_BSTR},
        {std::wstring(), VT_BSTR},
        {std::vector<double>{1.5, -2, 0}, VT_ARRAY | VT_R8},
        {std::vector<double>{}, VT_ARRAY | VT_R8},
        {std::vector<std::int16_t>{8, 0}, VT_ARRAY | VT_I2},
        {std::vector<std::wstring>{L"ISO A4", L""}, VT_ARRAY | VT_BSTR},
        {ValueList{L"FRAME", std::int32_t{3}, ValueList{1.0}}, VT_ARRAY | VT_VARIANT},
        {DispatchPtr(), VT_DISPATCH},
        {std::vector<DispatchPtr>{}, VT_ARRAY | VT_DISPATCH},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(narrow(describe(c.value)));
        Variant v = toVariant(c.value, kNoObjects);
        EXPECT_EQ(V_VT(&v.get()), c.vt);
        if (c.vt & VT_ARRAY) {
            LONG lower = -1;
            SafeArrayGetLBound(V_ARRAY(&v.get()), 1, &lower);
            EXPECT_EQ(lower, 0);
        }
        EXPECT_EQ(describe(fromVariant(v.get(), kNoObjects)), describe(c.value));
    }
    Variant t = toVariant(true, kNoObjects);
    EXPECT_EQ(V_BOOL(&t.get()), VARIANT_TRUE);  // -1, as automation expects
    Variant omitted = toVariant(Omitted{}, kNoObjects);
    EXPECT_EQ(V_ERROR(&omitted.get()), DISP_E_PARAMNOTFOUND);
}

// Builds a VARIANT by hand, as a host might send it.
struct Sent {
    const char* what;
    std::function<void(VARIANT&)> make;
    std::wstring expected;  // describe() of the value read; empty: refused
    std::wstring refusal = {};  // the text the user reads when it is refused
};

// The text of the CadError a VARIANT becomes; "(read)" when it is read.
std::wstring refusalOf(const VARIANT& v, const DispatchBridge& bridge) {
    try {
        fromVariant(v, bridge);
    } catch (const CadError& e) {
        return e.text();
    }
    return L"(read)";
}

SAFEARRAY* vectorOf(VARTYPE vt, LONG lower, std::initializer_list<double> items) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lower};
    SAFEARRAY* a = SafeArrayCreate(vt, 1, &bound);
    LONG i = lower;
    for (double d : items) {
        VARIANT item;
        VariantInit(&item);
        V_VT(&item) = VT_R8;
        V_R8(&item) = d;
        VariantChangeType(&item, &item, 0, vt);
        SafeArrayPutElement(a, &i, vt == VT_VARIANT ? static_cast<void*>(&item) : static_cast<void*>(&V_UI1(&item)));
        ++i;
    }
    return a;
}

TEST(VariantConvert, WhatAHostMaySendIsReadOrRefused) {
    static VARIANT target;  // what by-reference variants point at
    static LONG number = 42;
    const Sent cases[] = {
        {"null", [](VARIANT& v) { V_VT(&v) = VT_NULL; }, L"empty"},
        {"single float", [](VARIANT& v) { V_VT(&v) = VT_R4; V_R4(&v) = 0.5f; }, L"r8:0.500000"},
        {"byte", [](VARIANT& v) { V_VT(&v) = VT_UI1; V_UI1(&v) = 200; }, L"i4:200"},
        {"64-bit in range", [](VARIANT& v) { V_VT(&v) = VT_I8; V_I8(&v) = -5; }, L"i4:-5"},
        {"64-bit out of range", [](VARIANT& v) { V_VT(&v) = VT_I8; V_I8(&v) = 1LL << 40; }, L"",
         L"CAD が範囲外の数値を返しました。"},
        {"reference to a long", [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_I4; V_I4REF(&v) = &number; }, L"i4:42"},
        {"reference to a variant", [](VARIANT& v) {
             VariantInit(&target); V_VT(&target) = VT_BOOL; V_BOOL(&target) = VARIANT_TRUE;
             V_VT(&v) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&v) = &target; }, L"true"},
        {"reference to nothing", [](VARIANT& v) { V_VT(&v) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&v) = nullptr; }, L"",
         L"CAD が空の参照を返しました。"},
        {"reference to itself", [](VARIANT& v) {
             V_VT(&target) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&target) = &target;
             V_VT(&v) = VT_BYREF | VT_VARIANT; V_VARIANTREF(&v) = &target; }, L"",
         L"CAD が入れ子の深すぎる値を返しました。"},
        {"array from 1", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_R8; V_ARRAY(&v) = vectorOf(VT_R8, 1, {3, 4}); }, L"r8[r8:3.000000,r8:4.000000]"},
        {"array of longs", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_I4; V_ARRAY(&v) = vectorOf(VT_I4, 0, {7}); }, L"var[i4:7]"},
        {"array of variants of numbers", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_VARIANT; V_ARRAY(&v) = vectorOf(VT_VARIANT, 0, {1}); }, L"var[r8:1.000000]"},
        {"null array", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_BSTR; V_ARRAY(&v) = nullptr; }, L"bstr[]"},
        {"longs labelled as doubles", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_R8; V_ARRAY(&v) = vectorOf(VT_I4, 0, {1, 2}); }, L"",
         L"CAD が要素の型の合わない配列を返しました。"},
        {"doubles labelled as strings", [](VARIANT& v) { V_VT(&v) = VT_ARRAY | VT_BSTR; V_ARRAY(&v) = vectorOf(VT_R8, 0, {1}); }, L"",
         L"CAD が要素の型の合わない配列を返しました。"},
        {"two dimensions", [](VARIANT& v) {
             SAFEARRAYBOUND b[2] = {{2, 0}, {2, 0}};
             V_VT(&v) = VT_ARRAY | VT_R8; V_ARRAY(&v) = SafeArrayCreate(VT_R8, 2, b); }, L"",
         L"CAD が多次元の配列を返しました。"},
        {"currency", [](VARIANT& v) { V_VT(&v) = VT_CY; V_CY(&v).int64 = 10000; }, L"", L"CAD が扱えない型 (6) の値を返しました。"},
        {"other error code", [](VARIANT& v) { V_VT(&v) = VT_ERROR; V_ERROR(&v) = E_FAIL; }, L"", L"CAD がエラー値を返しました。"},
    };
    for (const Sent& c : cases) {
        SCOPED_TRACE(c.what);
        Variant v;
        c.make(v.get());
        if (c.expected.empty()) {
            EXPECT_EQ(refusalOf(v.get(), kNoObjects), c.refusal);
        } else {
            EXPECT_EQ(describe(fromVariant(v.get(), kNoObjects)), c.expected);
        }
        if (V_VT(&v.get()) & VT_BYREF) V_VT(&v.get()) = VT_EMPTY;  // nothing of ours to free
    }
}

struct OurObject : Dispatch {
    Value invoke(std::wstring_view, CallKind, ValueList&) override { return {}; }
    DispatchPtr queryInterface(std::wstring_view) override { return nullptr; }
};

TEST(VariantConvert, ObjectsCrossThroughTheBridgeAndNullStaysNull) {
    auto object = ComPtr<IDispatch>::adopt(comtest::ScriptedObject::make());
    int toComCalls = 0;
    std::vector<IDispatch*> received;
    DispatchBridge bridge;
    bridge.toCom = [&](const DispatchPtr&) {
        ++toComCalls;
        return object;
    };
    bridge.fromCom = [&](const ComPtr<IDispatch>& o) {
        received.push_back(o.get());
        return DispatchPtr(std::make_shared<OurObject>());
    };

    // A null object needs no bridge either way.
    Variant none = toVariant(DispatchPtr(), DispatchBridge{});
    EXPECT_EQ(V_VT(&none.get()), VT_DISPATCH);
    EXPECT_EQ(V_DISPATCH(&none.get()), nullptr);
    Value back = fromVariant(none.get(), DispatchBridge{});
    ASSERT_TRUE(back.is<DispatchPtr>());
    EXPECT_EQ(*back.get<DispatchPtr>(), nullptr);

    {
        Variant out = toVariant(DispatchPtr(std::make_shared<OurObject>()), bridge);
        EXPECT_EQ(V_DISPATCH(&out.get()), object.get());
        EXPECT_EQ(toComCalls, 1);
    }
    for (VARTYPE vt : {VT_DISPATCH, VT_UNKNOWN}) {
        Variant in;
        V_VT(&in.get()) = vt;
        V_DISPATCH(&in.get()) = object.copyOut();
        EXPECT_NE(*fromVariant(in.get(), bridge).get<DispatchPtr>(), nullptr);
        EXPECT_EQ(refusalOf(in.get(), DispatchBridge{}), L"ここではオブジェクトを受け取れません。");  // no way to wrap it
    }
    EXPECT_EQ(received, (std::vector<IDispatch*>{object.get(), object.get()}));
    object.reset();
    EXPECT_EQ(comtest::ScriptedObject::alive, 0);  // every reference released
}

// An array of objects, as VT_ARRAY|VT_DISPATCH or as variants holding objects: each
// element through the bridge both ways, null staying null, every reference released.
TEST(VariantConvert, ArraysOfObjectsCrossBothWaysInEitherForm) {
    auto object = ComPtr<IDispatch>::adopt(comtest::ScriptedObject::make());
    int toComCalls = 0, fromComCalls = 0;
    DispatchBridge bridge;
    bridge.toCom = [&](const DispatchPtr&) {
        ++toComCalls;
        return object;
    };
    bridge.fromCom = [&](const ComPtr<IDispatch>& o) {
        EXPECT_EQ(o.get(), object.get());
        ++fromComCalls;
        return DispatchPtr(std::make_shared<OurObject>());
    };
    const DispatchPtr ours = std::make_shared<OurObject>();
    {
        Variant objects = toVariant(std::vector<DispatchPtr>{ours, nullptr, ours}, bridge);
        ASSERT_EQ(V_VT(&objects.get()), VT_ARRAY | VT_DISPATCH);
        EXPECT_EQ(describe(fromVariant(objects.get(), bridge)), L"dispatch[object,null,object]");
        Variant variants = toVariant(ValueList{ours, DispatchPtr()}, bridge);
        ASSERT_EQ(V_VT(&variants.get()), VT_ARRAY | VT_VARIANT);
        EXPECT_EQ(describe(fromVariant(variants.get(), bridge)), L"var[object,null]");
        EXPECT_EQ(toComCalls, 3);
        EXPECT_EQ(fromComCalls, 3);

        // From another host: an array of objects counted from 1.
        SAFEARRAYBOUND bound{2, 1};
        Variant sent;
        V_VT(&sent.get()) = VT_ARRAY | VT_DISPATCH;
        V_ARRAY(&sent.get()) = SafeArrayCreate(VT_DISPATCH, 1, &bound);
        for (LONG i : {1L, 2L}) SafeArrayPutElement(V_ARRAY(&sent.get()), &i, object.get());
        EXPECT_EQ(describe(fromVariant(sent.get(), bridge)), L"dispatch[object,object]");
        EXPECT_EQ(refusalOf(sent.get(), kNoObjects), L"ここではオブジェクトを受け取れません。");
    }
    object.reset();
    EXPECT_EQ(comtest::ScriptedObject::alive, 0);  // every reference released
}

TEST(VariantConvert, WriteOutFillsAVariantReferenceAndNothingElse) {
    Variant slot = toVariant(L"old", kNoObjects);
    VARIANT ref;
    V_VT(&ref) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&ref) = &slot.get();
    EXPECT_TRUE(writeOut(ref, std::vector<double>{1, 2}, kNoObjects));
    EXPECT_EQ(V_VT(&slot.get()), VT_ARRAY | VT_R8);

    Variant plain = toVariant(std::int32_t{1}, kNoObjects);
    EXPECT_FALSE(writeOut(plain.get(), 2.0, kNoObjects));
    EXPECT_EQ(V_I4(&plain.get()), 1);
}

}  // namespace
