// Member ids the stand-in's COM objects answer: 1 + the index of the first row of the
// member table that carries the name (names compared without letter case, as IDispatch
// does). A name shared by several objects ("Item", "Count", "HWND") has one id; the
// object itself decides whether it has the member. The type library states the same ids
// for the application and plot interfaces.
#pragma once

#include <string_view>

#include "base/names.h"
#include "cad/members.h"

namespace sim {

inline constexpr long kUnknownDispatchId = -1;  // DISPID_UNKNOWN

inline long dispatchIdOf(std::wstring_view name) {
    const auto table = cad::memberTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (base::sameNameIgnoringCase(table[i].name, name)) return static_cast<long>(i) + 1;
    return kUnknownDispatchId;
}

// The member name of an id; empty when the id is not one of ours.
inline std::wstring_view memberNameOf(long id) {
    const auto table = cad::memberTable();
    if (id < 1 || static_cast<size_t>(id) > table.size()) return {};
    return table[static_cast<size_t>(id) - 1].name;
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
