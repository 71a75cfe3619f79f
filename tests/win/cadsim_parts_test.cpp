// The stand-in's portable parts: the view mapping and what the view draws with it, the
// prompt rules, and the member ids that the type library and the server share.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <set>
#include <string>

#include "cad/com/com_types_win.h"
#include "cad/ids.h"
#include "sim/win/dispids.h"
#include "sim/win/prompt_session.h"
#include "sim/win/view_mapping.h"
#include "tests/win/stand_in.h"

namespace {

using sim::PixelPoint;
using sim::PromptRequest;
using sim::PromptSession;
using sim::ViewMapping;

TEST(CadsimViewMapping, FollowsViewCentreSizeAndScreenSize) {
    // 100 drawing units high on 500 pixels: 5 pixels a unit; centre (10, 20).
    const ViewMapping m(sim::ViewState{10, 20, 100, 800, 500});
    struct Case {
        double x, y, px, py;
    };
    for (const Case c : {Case{10, 20, 400, 250}, Case{11, 20, 405, 250}, Case{10, 21, 400, 245},
                         Case{-70, 70, 0, 0}, Case{90, -30, 800, 500}}) {
        const PixelPoint p = m.toPixel(c.x, c.y);
        EXPECT_DOUBLE_EQ(p.x, c.px);
        EXPECT_DOUBLE_EQ(p.y, c.py);
        const sim::Vec2 back = m.toDrawing(c.px, c.py);
        EXPECT_NEAR(back.x, c.x, 1e-9);
        EXPECT_NEAR(back.y, c.y, 1e-9);
    }
    // An odd height puts the centre where Quillon's preview puts it: h - h div 2.
    EXPECT_DOUBLE_EQ(ViewMapping(sim::ViewState{0, 0, 1, 7, 5}).toPixel(0, 0).y, 3);
    EXPECT_DOUBLE_EQ(ViewMapping(sim::ViewState{0, 0, 1, 7, 5}).toPixel(0, 0).x, 3);
}

TEST(CadsimViewMapping, SegmentsAreCutToTheArea) {
    struct Case {
        PixelPoint a, b;
        bool visible;
        PixelPoint ca, cb;
    };
    for (const Case& c : {Case{{10, 10}, {90, 90}, true, {10, 10}, {90, 90}},
                         Case{{-100, 50}, {200, 50}, true, {0, 50}, {100, 50}},
                         Case{{50, -1e12}, {50, 1e12}, true, {50, 0}, {50, 100}},
                         Case{{-10, -10}, {-5, 200}, false, {}, {}},
                         Case{{150, 150}, {300, 120}, false, {}, {}},
                         Case{{-50, 50}, {50, -50}, true, {0, 0}, {0, 0}}}) {
        PixelPoint a = c.a, b = c.b;
        ASSERT_EQ(sim::clipSegment(a, b, 0, 0, 100, 100), c.visible);
        if (!c.visible) continue;
        EXPECT_NEAR(a.x, c.ca.x, 1e-6);
        EXPECT_NEAR(a.y, c.ca.y, 1e-6);
        EXPECT_NEAR(b.x, c.cb.x, 1e-6);
        EXPECT_NEAR(b.y, c.cb.y, 1e-6);
    }
}

TEST(CadsimViewMapping, GridPitchIsTheSmallestReadableStep) {
    struct Case {
        double pixelsPerUnit, pitch;
    };
    for (const Case c : {Case{1, 20}, Case{12, 1}, Case{11.9, 2}, Case{5, 5}, Case{0.001, 20000}, Case{300, 0.05}})
        EXPECT_NEAR(sim::gridPitch(c.pixelsPerUnit, 12), c.pitch, c.pitch * 1e-9) << c.pixelsPerUnit;
    EXPECT_EQ(sim::gridPitch(0, 12), 0);
}

TEST(CadsimViewMapping, LayerColoursAreLightStableAndVaried) {
    std::set<std::uint32_t> seen;
    for (const wchar_t* layer : {L"Walls", L"Doors", L"MORVEL", L"TITLE", L"PARTS", L"도곽", L"枠", L"Rahmen Doppelt"}) {
        const std::uint32_t c = sim::layerColour(layer);
        EXPECT_EQ(c, sim::layerColour(layer));
        EXPECT_GT((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF), 300u) << "too dark on the dark view";
        seen.insert(c);
    }
    EXPECT_GE(seen.size(), 4u);
    EXPECT_EQ(sim::layerColour(L"0"), 0x00E6E6E6u);
}

PromptSession session(PromptRequest::Kind kind) { return PromptSession(PromptRequest{kind, L"Pick: "}); }

TEST(CadsimPromptSession, PointFromAClickOrTypedCoordinates) {
    auto clicked = session(PromptRequest::Kind::Point);
    clicked.click({3.5, -2});
    ASSERT_TRUE(clicked.done());
    EXPECT_FALSE(clicked.answer().cancelled);
    EXPECT_EQ(clicked.answer().x, 3.5);
    EXPECT_EQ(clicked.answer().y, -2);

    auto typed = session(PromptRequest::Kind::Point);
    for (wchar_t c : std::wstring(L"1x")) typed.typeChar(c);
    typed.typeChar(L'\b');
    for (wchar_t c : std::wstring(L" , 4.25e1")) typed.typeChar(c);
    EXPECT_EQ(typed.statusText(), L"Pick: 1 , 4.25e1");
    typed.enter();
    ASSERT_TRUE(typed.done());
    EXPECT_EQ(typed.answer().x, 1);
    EXPECT_EQ(typed.answer().y, 42.5);
}

TEST(CadsimPromptSession, DistanceFromTwoClicksOrANumber) {
    auto clicked = session(PromptRequest::Kind::Distance);
    clicked.click({1, 1});
    EXPECT_FALSE(clicked.done());
    ASSERT_TRUE(clicked.firstPoint());
    clicked.click({4, 5});
    ASSERT_TRUE(clicked.done());
    EXPECT_DOUBLE_EQ(clicked.answer().distance, 5);

    auto typed = session(PromptRequest::Kind::Distance);
    for (wchar_t c : std::wstring(L"12,5")) typed.typeChar(c);
    typed.enter();  // a comma is no decimal mark here
    EXPECT_FALSE(typed.done());
    EXPECT_NE(typed.statusText().find(L"a number is needed"), std::wstring::npos);
    for (wchar_t c : std::wstring(L"12.5")) typed.typeChar(c);
    typed.enter();
    ASSERT_TRUE(typed.done());
    EXPECT_EQ(typed.answer().distance, 12.5);
}

TEST(CadsimPromptSession, EscapeCancelsAndNothingChangesAfterTheAnswer) {
    auto s = session(PromptRequest::Kind::Distance);
    s.click({0, 0});
    s.escape();
    ASSERT_TRUE(s.done());
    EXPECT_TRUE(s.answer().cancelled);
    s.click({3, 4});
    EXPECT_TRUE(s.answer().cancelled);

    auto empty = session(PromptRequest::Kind::Point);
    empty.enter();  // Enter with nothing typed keeps waiting
    EXPECT_FALSE(empty.done());
}

TEST(CadsimPromptSession, NumbersAreReadStrictly) {
    struct Case {
        const wchar_t* text;
        bool ok;
        double value;
    };
    for (const Case c : {Case{L"12.5", true, 12.5}, Case{L" -3 ", true, -3}, Case{L"+7", true, 7},
                         Case{L"1e3", true, 1000}, Case{L"", false, 0}, Case{L"1.2.3", false, 0},
                         Case{L"12a", false, 0}, Case{L"inf", false, 0}, Case{L"nan", false, 0},
                         Case{L"１２", false, 0}}) {
        const auto v = sim::parseNumber(c.text);
        EXPECT_EQ(v.has_value(), c.ok) << static_cast<const void*>(c.text);
        if (c.ok && v) {
            EXPECT_EQ(*v, c.value);
        }
    }
}

// The object kind whose members an interface serves.
cad::ObjectKind kindServedBy(sim::Interface in) {
    switch (in) {
        case sim::Interface::Application: return cad::ObjectKind::Application;
        case sim::Interface::Document: return cad::ObjectKind::Document;
        case sim::Interface::SelectionSets: return cad::ObjectKind::SelectionSets;
        case sim::Interface::SelectionSet: return cad::ObjectKind::SelectionSet;
        case sim::Interface::LwPolyline:
        case sim::Interface::Polyline:
        case sim::Interface::BlockReference:
        case sim::Interface::Entity: return cad::ObjectKind::Entity;
        case sim::Interface::Utility: return cad::ObjectKind::Utility;
        case sim::Interface::Layout: return cad::ObjectKind::Layout;
        case sim::Interface::Plot: return cad::ObjectKind::Plot;
        case sim::Interface::Attribute: return cad::ObjectKind::Attribute;
    }
    return cad::ObjectKind::Entity;
}

std::string narrow(std::wstring_view s) { return std::string(s.begin(), s.end()); }

TEST(CadsimMemberIds, EachInterfaceGivesEveryNameOneId) {
    for (std::size_t k = 0; k < sim::kInterfaceCount; ++k) {
        const auto in = static_cast<sim::Interface>(k);
        SCOPED_TRACE(narrow(sim::typeLibraryName(in)));
        EXPECT_EQ(sim::dispatchIdOf(in, L"activedocument"), sim::dispatchIdOf(in, L"ActiveDocument"));
        EXPECT_EQ(sim::dispatchIdOf(in, L"NoSuchMember"), sim::kUnknownDispatchId);
        for (const cad::Member& m : cad::memberTable()) {
            const long id = sim::dispatchIdOf(in, m.name);
            ASSERT_GT(id, 0);
            EXPECT_EQ(sim::memberNameOf(in, id), m.name) << "one id, one name";
        }
    }
    // The two kinds of polyline number their own members apart: the ids found on one are
    // not the other's.
    using sim::Interface;
    for (const wchar_t* name : {L"Coordinates", L"Closed"}) {
        const long lightweight = sim::dispatchIdOf(Interface::LwPolyline, name);
        const long oldStyle = sim::dispatchIdOf(Interface::Polyline, name);
        EXPECT_NE(lightweight, oldStyle);
        EXPECT_EQ(sim::memberNameOf(Interface::Polyline, lightweight), L"");
        EXPECT_EQ(sim::memberNameOf(Interface::LwPolyline, oldStyle), L"");
        EXPECT_EQ(sim::dispatchIdOf(Interface::Entity, name), lightweight);
    }
    EXPECT_EQ(sim::dispatchIdOf(Interface::Polyline, L"Item"), sim::dispatchIdOf(Interface::LwPolyline, L"Item"));
}

TEST(CadsimMemberIds, ServerAndTypeLibraryAgree) {
    cad::com::ComPtr<ITypeLib> library;
    const std::wstring exe = cadsim_test::cadsimExe();
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(exe.c_str(), REGKIND_NONE, library.put()));
    const std::set<std::wstring> inherited{L"QueryInterface", L"AddRef", L"Release", L"GetTypeInfoCount",
                                           L"GetTypeInfo", L"GetIDsOfNames", L"Invoke"};
    std::set<std::wstring> guids;
    for (std::size_t k = 0; k < sim::kInterfaceCount; ++k) {
        const auto in = static_cast<sim::Interface>(k);
        SCOPED_TRACE(narrow(sim::typeLibraryName(in)));
        const std::wstring wanted(sim::typeLibraryName(in));
        cad::com::ComPtr<ITypeInfo> info;
        for (UINT i = 0; i < library->GetTypeInfoCount() && !info; ++i) {
            BSTR name = nullptr;
            library->GetDocumentation(static_cast<INT>(i), &name, nullptr, nullptr, nullptr);
            if (cad::com::bstrText(name) == wanted) library->GetTypeInfo(i, info.put());
            SysFreeString(name);
        }
        ASSERT_TRUE(info) << "not in the type library";
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
        EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
        guids.insert(cad::com::guidToString(attr->guid));
        const bool dual = in == sim::Interface::Application || in == sim::Interface::Plot;
        EXPECT_EQ((attr->wTypeFlags & TYPEFLAG_FDUAL) != 0, dual);
        if (dual) {
            // The host's interface id, and the vtable side that the type library
            // marshaller works from.
            EXPECT_EQ(cad::com::guidToString(attr->guid),
                      in == sim::Interface::Application ? cad::kApplicationInterfaceId : cad::kPlotInterfaceId);
            HREFTYPE vtableSide = 0;
            cad::com::ComPtr<ITypeInfo> vtableInfo;
            ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableSide));
            ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(vtableSide, vtableInfo.put()));
            TYPEATTR* vtableAttr = nullptr;
            ASSERT_HRESULT_SUCCEEDED(vtableInfo->GetTypeAttr(&vtableAttr));
            EXPECT_TRUE(vtableAttr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
            EXPECT_EQ(vtableAttr->typekind, TKIND_INTERFACE);
            vtableInfo->ReleaseTypeAttr(vtableAttr);
        }
        // Every function the interface lists is a member of its kind of object, under the
        // id the server gives it, called the way the member table calls it; and every
        // member of that kind is listed.
        std::set<std::pair<std::wstring, cad::CallKind>> listed;
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FUNCDESC* f = nullptr;
            ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &f));
            BSTR name = nullptr;
            info->GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr);
            const std::wstring text = cad::com::bstrText(name);
            SysFreeString(name);
            const MEMBERID memid = f->memid;
            const INVOKEKIND invoke = f->invkind;
            info->ReleaseFuncDesc(f);
            if (inherited.count(text)) continue;  // the dispatch view lists IUnknown's and IDispatch's too
            EXPECT_EQ(memid, sim::dispatchIdOf(in, text)) << narrow(text);
            const cad::CallKind kind = invoke == INVOKE_PROPERTYGET   ? cad::CallKind::Get
                                       : invoke == INVOKE_PROPERTYPUT ? cad::CallKind::Put
                                                                      : cad::CallKind::Method;
            EXPECT_NE(cad::findMember(kindServedBy(in), text, kind), nullptr) << narrow(text);
            listed.insert({text, kind});
        }
        for (const cad::Member& m : cad::memberTable())
            if (m.object == kindServedBy(in)) {
                EXPECT_TRUE(listed.count({std::wstring(m.name), m.kind})) << narrow(m.name) << " is not listed";
            }
        info->ReleaseTypeAttr(attr);
    }
    EXPECT_EQ(guids.size(), sim::kInterfaceCount) << "one GUID for each interface";
}

}  // namespace
