// The COM client's late-bound calls against a scripted in-process IDispatch: how the
// arguments are packed, how failures become CadError with the host's text, DISPID
// caching per type of object, objects in results, interfaces by id, and reference
// release.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cad/com/com_dispatch_win.h"
#include "cad/com/variant_convert_win.h"
#include "cad/ids.h"
#include "com_scripted_object.h"

namespace {

using namespace cad;
using namespace cad::com;
using comtest::ScriptedObject;
using comtest::ScriptedTypeInfo;

// Two types of object, as their type information tells them.
constexpr GUID kFirstType{0x5a1c0e42, 0x8d1b, 0x4f0e, {0x9a, 0x11, 0x2b, 0x3c, 0x4d, 0x5e, 0x6f, 0x70}};
constexpr GUID kSecondType{0x5a1c0e43, 0x8d1b, 0x4f0e, {0x9a, 0x11, 0x2b, 0x3c, 0x4d, 0x5e, 0x6f, 0x71}};

// A member that answers a number.
ScriptedObject::Handler answering(LONG value) {
    return [value](const ScriptedObject::Call&, VARIANT* result, EXCEPINFO*) {
        V_VT(result) = VT_I4;
        V_I4(result) = value;
        return S_OK;
    };
}

Value argument(const ScriptedObject::Call& call, UINT i) { return fromVariant(call.params.rgvarg[i], {}); }

// The text of the CadError the call throws; "(no error)" when it throws none.
std::wstring refusalOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const CadError& e) {
        return e.text();
    }
    return L"(no error)";
}

void setThreadError(const wchar_t* text) {
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.put()), S_OK);
    create->SetDescription(const_cast<wchar_t*>(text));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(create.query(info), S_OK);
    SetErrorInfo(0, info.get());
}

class ComDispatchTest : public testing::Test {
protected:
    void SetUp() override {
        ScriptedObject::lookups.clear();
        ScriptedTypeInfo::attributeRequests = 0;
        root = ScriptedObject::make();
        wrapped = wrapRemote(ComPtr<IDispatch>::adopt(root));
    }
    void TearDown() override {
        wrapped.reset();
        EXPECT_EQ(ScriptedObject::alive, 0) << "a reference was kept";
        EXPECT_EQ(ScriptedTypeInfo::alive, 0) << "a type information was kept";
    }

    // Makes root's "Item" give a new child each call, made by `make` from the index.
    void itemsMadeBy(std::function<ScriptedObject*(LONG)> make) {
        root->members[L"Item"] = [make](const ScriptedObject::Call& c, VARIANT* result, EXCEPINFO*) {
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = make(V_I4(&c.params.rgvarg[0]));  // the result owns the new reference
            return S_OK;
        };
    }
    DispatchPtr item(std::int32_t i) {
        ValueList args{i};
        return *wrapped->invoke(L"Item", CallKind::Method, args).get<DispatchPtr>();
    }
    static std::int32_t numberOf(const DispatchPtr& object, const wchar_t* member) {
        ValueList none;
        return *object->invoke(member, CallKind::Get, none).get<std::int32_t>();
    }

    ComInit com;
    ScriptedObject* root = nullptr;  // owned by `wrapped`
    DispatchPtr wrapped;
};

TEST_F(ComDispatchTest, MethodArgumentsArriveReversedWithoutNamedArguments) {
    root->members[L"ZoomWindow"] = [](const ScriptedObject::Call& c, VARIANT*, EXCEPINFO*) {
        EXPECT_EQ(c.flags, DISPATCH_METHOD);
        EXPECT_EQ(c.params.cArgs, 2u);
        EXPECT_EQ(c.params.cNamedArgs, 0u);
        EXPECT_EQ(*argument(c, 0).get<std::vector<double>>(), (std::vector<double>{3, 4}));
        EXPECT_EQ(*argument(c, 1).get<std::vector<double>>(), (std::vector<double>{1, 2}));
        return S_OK;
    };
    ValueList args{std::vector<double>{1, 2}, std::vector<double>{3, 4}};
    wrapped->invoke(L"ZoomWindow", CallKind::Method, args);
    EXPECT_EQ(root->calls.size(), 1u);
}

TEST_F(ComDispatchTest, PutPassesItsValueAsTheNamedPropertyPutArgument) {
    root->members[L"PlotRotation"] = [](const ScriptedObject::Call& c, VARIANT* result, EXCEPINFO*) {
        EXPECT_EQ(c.flags, DISPATCH_PROPERTYPUT);
        EXPECT_EQ(c.params.cArgs, 1u);
        EXPECT_EQ(c.params.cNamedArgs, 1u);
        EXPECT_EQ(c.params.rgdispidNamedArgs[0], DISPID_PROPERTYPUT);
        EXPECT_EQ(result, nullptr);
        EXPECT_EQ(*argument(c, 0).get<std::int32_t>(), 3);
        return S_OK;
    };
    ValueList args{std::int32_t{3}};
    wrapped->invoke(L"PlotRotation", CallKind::Put, args);
    EXPECT_EQ(root->calls.size(), 1u);
}

TEST_F(ComDispatchTest, GetReturnsTheHostsResult) {
    root->members[L"Count"] = [](const ScriptedObject::Call& c, VARIANT* result, EXCEPINFO*) {
        EXPECT_EQ(c.flags, DISPATCH_PROPERTYGET);
        EXPECT_EQ(c.params.cArgs, 0u);
        V_VT(result) = VT_I4;
        V_I4(result) = 7;
        return S_OK;
    };
    ValueList none;
    EXPECT_EQ(*wrapped->invoke(L"count", CallKind::Get, none).get<std::int32_t>(), 7);
}

TEST_F(ComDispatchTest, EmptyArgumentsAreOutArgumentsAndComeBackFilled) {
    root->members[L"GetBoundingBox"] = [](const ScriptedObject::Call& c, VARIANT*, EXCEPINFO*) {
        for (UINT i = 0; i < 2; ++i) {
            EXPECT_EQ(V_VT(&c.params.rgvarg[i]), VT_BYREF | VT_VARIANT);
            writeOut(c.params.rgvarg[i], std::vector<double>{i == 1 ? 0.0 : 10.0, 5}, {});
        }
        return S_OK;
    };
    ValueList args(2);
    wrapped->invoke(L"GetBoundingBox", CallKind::Method, args);
    EXPECT_EQ(*args[0].get<std::vector<double>>(), (std::vector<double>{0, 5}));  // the first in call order
    EXPECT_EQ(*args[1].get<std::vector<double>>(), (std::vector<double>{10, 5}));
}

struct Failure {
    const char* what;
    ScriptedObject::Handler handler;
    std::wstring text;      // exact text expected, or
    std::wstring contains;  // a part of it
};

TEST_F(ComDispatchTest, FailuresBecomeCadErrorWithTheHostsText) {
    const Failure failures[] = {
        {"exception with a description",
         [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO* info) {
             info->bstrDescription = SysAllocString(L"図面がありません");
             info->bstrSource = SysAllocString(L"host");
             info->scode = E_FAIL;
             return DISP_E_EXCEPTION;
         },
         L"図面がありません", L""},
        {"exception filled in later",
         [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO* info) {
             info->pfnDeferredFillIn = [](EXCEPINFO* e) -> HRESULT {
                 e->bstrDescription = SysAllocString(L"Filled in later");
                 return S_OK;
             };
             return DISP_E_EXCEPTION;
         },
         L"Filled in later", L""},
        {"thread error object",
         [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO*) {
             setThreadError(L"Host refused");
             return E_FAIL;
         },
         L"Host refused", L""},
        {"exception without text", [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO*) { return DISP_E_EXCEPTION; },
         L"", L"Clear"},
        {"bare failure, stale error object ignored",
         [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO*) { return E_FAIL; }, L"", L"Clear"},
        {"a code the system has no text for",
         [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO*) { return static_cast<HRESULT>(0x8004ABCDu); },
         L"Clear: エラー 0x8004ABCD", L""},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        root->members[L"Clear"] = f.handler;
        setThreadError(L"stale text");  // left by some earlier failure
        ValueList none;
        try {
            wrapped->invoke(L"Clear", CallKind::Method, none);
            ADD_FAILURE() << "no error";
        } catch (const CadError& e) {
            if (!f.text.empty()) {
                EXPECT_EQ(e.text(), f.text);
            }
            if (!f.contains.empty()) {
                EXPECT_NE(e.text().find(f.contains), std::wstring::npos);
            }
            EXPECT_EQ(e.text().find(L"stale"), std::wstring::npos);
        }
    }
    ValueList none;
    try {
        wrapped->invoke(L"NoSuchMember", CallKind::Method, none);
        ADD_FAILURE() << "no error";
    } catch (const CadError& e) {
        EXPECT_NE(e.text().find(L"NoSuchMember"), std::wstring::npos);
    }
}

TEST_F(ComDispatchTest, ObjectsInResultsAreWrappedAndNamesLookedUpOncePerType) {
    const auto type = ComPtr<ITypeInfo>::adopt(ScriptedTypeInfo::make(kFirstType));
    itemsMadeBy([type](LONG) {
        ScriptedObject* child = ScriptedObject::make();
        child->members[L"Count"] = answering(2);
        child->describeBy(type.get());
        return child;
    });
    for (std::int32_t i = 0; i < 3; ++i) {
        DispatchPtr child = item(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(numberOf(child, L"Count"), 2);
        EXPECT_NE(remoteObjectOf(child), nullptr);
    }
    EXPECT_EQ(ScriptedObject::lookups, (std::vector<std::wstring>{L"Item", L"Count"}));
    EXPECT_EQ(ScriptedTypeInfo::attributeRequests, 1) << "the type information is known again by its pointer";
    EXPECT_EQ(ScriptedObject::alive, 1);  // the children are gone with their wrappers
}

// The entities of one selection set, all reached through "Item", may be of different
// kinds with different member ids (a lightweight and an old-style polyline): each kind
// has its names looked up once, and each object is called with its own kind's ids.
TEST_F(ComDispatchTest, ObjectsReachedTheSameWayAreCalledWithTheIdsOfTheirOwnType) {
    const auto first = ComPtr<ITypeInfo>::adopt(ScriptedTypeInfo::make(kFirstType));
    const auto second = ComPtr<ITypeInfo>::adopt(ScriptedTypeInfo::make(kSecondType));
    itemsMadeBy([first, second](LONG i) {
        ScriptedObject* child = ScriptedObject::make();
        const bool odd = i % 2 == 1;
        child->members[L"Closed"] = answering(odd ? 21 : 11);
        child->members[L"Coordinates"] = answering(odd ? 22 : 12);
        child->firstId = odd ? 100 : 1;
        child->describeBy(odd ? second.get() : first.get());
        return child;
    });
    for (std::int32_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        DispatchPtr child = item(i);
        EXPECT_EQ(numberOf(child, L"Coordinates"), i % 2 ? 22 : 12);
        EXPECT_EQ(numberOf(child, L"Closed"), i % 2 ? 21 : 11);
    }
    EXPECT_EQ(ScriptedObject::lookups,
              (std::vector<std::wstring>{L"Item", L"Coordinates", L"Closed", L"Coordinates", L"Closed"}));
}

TEST_F(ComDispatchTest, ATypeIsKnownByItsGuidWhenEveryObjectHasTypeInformationOfItsOwn) {
    itemsMadeBy([](LONG) {
        ScriptedObject* child = ScriptedObject::make();
        child->members[L"Count"] = answering(2);
        child->describeBy(ComPtr<ITypeInfo>::adopt(ScriptedTypeInfo::make(kFirstType)).get());
        return child;
    });
    for (std::int32_t i = 0; i < 3; ++i) EXPECT_EQ(numberOf(item(i), L"Count"), 2);
    EXPECT_EQ(ScriptedObject::lookups, (std::vector<std::wstring>{L"Item", L"Count"}));
    EXPECT_EQ(ScriptedTypeInfo::attributeRequests, 3);
}

// Without type information (or with a null GUID) nothing tells two objects' types apart:
// each object has its names looked up once, for itself.
TEST_F(ComDispatchTest, ObjectsWithoutTypeInformationKeepTheirIdsToThemselves) {
    itemsMadeBy([](LONG i) {
        ScriptedObject* child = ScriptedObject::make();
        child->members[L"Count"] = answering(2);
        child->firstId = 1 + 50 * i;
        if (i == 2) {
            child->describeBy(ComPtr<ITypeInfo>::adopt(ScriptedTypeInfo::make(GUID_NULL)).get());
        }
        return child;
    });
    for (std::int32_t i = 0; i < 3; ++i) {
        DispatchPtr child = item(i);
        EXPECT_EQ(numberOf(child, L"Count"), 2);
        EXPECT_EQ(numberOf(child, L"Count"), 2);
    }
    EXPECT_EQ(ScriptedObject::lookups, (std::vector<std::wstring>{L"Item", L"Count", L"Count", L"Count"}));
}

TEST_F(ComDispatchTest, InterfacesAreAskedForByTheirId) {
    ScriptedObject* plot = ScriptedObject::make();
    plot->members[L"NumberOfCopies"] = [](const ScriptedObject::Call&, VARIANT*, EXCEPINFO*) { return S_OK; };
    root->interfaces[kPlotInterfaceId] = plot;
    {
        DispatchPtr asPlot = wrapped->queryInterface(kPlotInterfaceId);
        ValueList args{std::int32_t{1}};
        asPlot->invoke(L"NumberOfCopies", CallKind::Put, args);
        EXPECT_EQ(plot->calls.size(), 1u);
        EXPECT_THROW(wrapped->queryInterface(kApplicationInterfaceId), CadError);
        EXPECT_EQ(refusalOf([&] { wrapped->queryInterface(L"BB9EB067-27CF-4E44-92ED-5AE2C3A4984B"); }),
                  L"インターフェイス ID ではありません: BB9EB067-27CF-4E44-92ED-5AE2C3A4984B");
        // A host that says yes and gives nothing.
        root->interfaces[kApplicationInterfaceId] = nullptr;
        EXPECT_EQ(refusalOf([&] { wrapped->queryInterface(kApplicationInterfaceId); }),
                  std::wstring(kApplicationInterfaceId) + L": オブジェクトが返されませんでした。");
    }
    root->interfaces.clear();
    plot->Release();
}

TEST_F(ComDispatchTest, RemoteObjectsPassBackAsTheSameObjectAndNoOtherObjectCanBePassed) {
    IDispatch* seen = nullptr;
    root->members[L"Use"] = [&seen](const ScriptedObject::Call& c, VARIANT*, EXCEPINFO*) {
        seen = V_VT(&c.params.rgvarg[0]) == VT_DISPATCH ? V_DISPATCH(&c.params.rgvarg[0]) : nullptr;
        return S_OK;
    };
    ValueList args{wrapped};
    wrapped->invoke(L"Use", CallKind::Method, args);
    EXPECT_EQ(seen, static_cast<IDispatch*>(root));
    struct Local : Dispatch {
        Value invoke(std::wstring_view, CallKind, ValueList&) override { return {}; }
        DispatchPtr queryInterface(std::wstring_view) override { return nullptr; }
    };
    ValueList foreign{DispatchPtr(std::make_shared<Local>())};
    EXPECT_EQ(refusalOf([&] { wrapped->invoke(L"Use", CallKind::Method, foreign); }), L"CAD に渡せないオブジェクトです。");
}

}  // namespace
