// The member table: an operation is the index of its row and is found again by its
// code name; host member names are looked up per object and call kind, in any case.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "cad/members.h"

namespace {

using namespace cad;
using enum ObjectKind;

std::string narrow(std::wstring_view s) { return std::string(s.begin(), s.end()); }

TEST(MemberTable, EveryOperationHasOneRowInOrderAndItsCodeNameLeadsBack) {
    ASSERT_EQ(memberTable().size(), kOperationCount);
    for (std::size_t i = 0; i < kOperationCount; ++i) {
        const Operation op = static_cast<Operation>(i);
        const Member& m = member(op);
        SCOPED_TRACE(narrow(m.operationName));
        EXPECT_EQ(&m, &memberTable()[i]);
        EXPECT_EQ(m.operation, op);
        EXPECT_FALSE(m.name.empty());
        EXPECT_EQ(operationNamed(m.operationName), std::optional<Operation>(op));
    }
}

TEST(MemberTable, CodeNamesAreMatchedExactly) {
    const struct {
        const wchar_t* name;
        std::optional<Operation> op;
    } cases[] = {
        {L"setDevice", Operation::setDevice},
        {L"Coordinates", Operation::Coordinates},
        {L"runPlot", Operation::runPlot},
        {L"setdevice", std::nullopt},   // letter case counts
        {L"ConfigName", std::nullopt},  // a host member name is not a code name
        {L"setDevice ", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(operationNamed(c.name), c.op) << narrow(c.name);
}

TEST(MemberTable, HostNamesAreFoundPerObjectAndCallKindInAnyLetterCase) {
    const struct {
        ObjectKind object;
        const wchar_t* name;
        CallKind kind;
        std::optional<Operation> op;  // nullopt: no such member
    } cases[] = {
        {Layout, L"ConfigName", CallKind::Put, Operation::setDevice},
        {Layout, L"configname", CallKind::Put, Operation::setDevice},
        {Layout, L"StyleSheet", CallKind::Get, Operation::styleTableName},
        {Layout, L"STYLESHEET", CallKind::Put, Operation::setStyleTable},
        {SelectionSets, L"Item", CallKind::Method, Operation::setAt},
        {SelectionSet, L"item", CallKind::Method, Operation::entityAt},
        {Application, L"HWND", CallKind::Get, Operation::mainWindowHandle},
        {Document, L"hwnd", CallKind::Get, Operation::documentWindowHandle},
        {Layout, L"ConfigName", CallKind::Get, std::nullopt},              // set only
        {Layout, L"GetCanonicalMediaNames", CallKind::Get, std::nullopt},  // a method
        {Entity, L"Item", CallKind::Method, std::nullopt},                 // another object's member
        {Layout, L"setDevice", CallKind::Put, std::nullopt},               // a code name is not a host name
        {Plot, L"PlotToDevic", CallKind::Method, std::nullopt},
    };
    for (const auto& c : cases) {
        const Member* m = findMember(c.object, c.name, c.kind);
        SCOPED_TRACE(narrow(objectKindName(c.object)) + "." + narrow(c.name));
        ASSERT_EQ(m != nullptr, c.op.has_value());
        if (m) {
            EXPECT_EQ(m->operation, *c.op);
        }
    }
}

}  // namespace
