// Member ids the stand-in's COM objects answer, per interface (sim::Interface, what
// describes the object). A name has the id 1 + the index of the first row of the member
// table that carries it (names compared without letter case, as IDispatch does), on
// every interface: a name shared by several objects ("Item", "Count", "HWND") has one id,
// and the object itself decides whether it has the member. The exception is the
// old-style polyline's interface: like a real host's interfaces, it numbers its own
// members its own way, kPolylineIdOffset + the id above, so that the ids a client found
// on a lightweight polyline are not those of an old-style one. The type library states
// the same ids for each interface (a test compares them).
#pragma once

#include <cstddef>
#include <string_view>

#include "base/names.h"
#include "cad/members.h"
#include "sim/model/interfaces.h"

namespace sim {

inline constexpr long kUnknownDispatchId = -1;  // DISPID_UNKNOWN
inline constexpr long kPolylineIdOffset = 100;
static_assert(cad::kOperationCount < kPolylineIdOffset, "the old-style polyline's ids would meet the others");

// The first row of the member table that carries the name; the table's size when none.
inline std::size_t firstRowNamed(std::wstring_view name) {
    const auto table = cad::memberTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (base::sameNameIgnoringCase(table[i].name, name)) return i;
    return table.size();
}

inline long dispatchIdOf(Interface in, std::wstring_view name) {
    const auto table = cad::memberTable();
    const std::size_t row = firstRowNamed(name);
    if (row == table.size()) return kUnknownDispatchId;
    const long id = static_cast<long>(row) + 1;
    const bool numberedApart = in == Interface::Polyline && table[row].object == cad::ObjectKind::Entity;
    return numberedApart ? id + kPolylineIdOffset : id;
}

// The member name of an id on the interface; empty when the interface gives no name
// that id.
inline std::wstring_view memberNameOf(Interface in, long id) {
    const auto table = cad::memberTable();
    const long plain = id > kPolylineIdOffset ? id - kPolylineIdOffset : id;
    if (plain < 1 || static_cast<std::size_t>(plain) > table.size()) return {};
    const std::wstring_view name = table[static_cast<std::size_t>(plain) - 1].name;
    return dispatchIdOf(in, name) == id ? name : std::wstring_view();
}

inline constexpr std::size_t kInterfaceCount = static_cast<std::size_t>(Interface::Attribute) + 1;

// The interface's name in the type library.
inline std::wstring_view typeLibraryName(Interface in) {
    switch (in) {
        case Interface::Application: return L"CadApplication";
        case Interface::Document: return L"CadDocument";
        case Interface::SelectionSets: return L"CadSelectionSets";
        case Interface::SelectionSet: return L"CadSelectionSet";
        case Interface::LwPolyline: return L"CadLwPolyline";
        case Interface::Polyline: return L"CadPolyline";
        case Interface::Entity: return L"CadEntity";
        case Interface::BlockReference: return L"CadBlockReference";
        case Interface::Utility: return L"CadUtility";
        case Interface::Layout: return L"CadLayout";
        case Interface::Plot: return L"CadPlot";
        case Interface::Attribute: return L"CadAttribute";
    }
    return {};
}

// Whether a member name is called as a method anywhere in the table (a client that
// sends DISPATCH_METHOD | DISPATCH_PROPERTYGET, as script hosts do, means the method
// then, and the property otherwise).
inline bool isMethodName(std::wstring_view name) {
    for (const cad::Member& m : cad::memberTable())
        if (m.kind == cad::CallKind::Method && base::sameNameIgnoringCase(m.name, name)) return true;
    return false;
}

}  // namespace sim
