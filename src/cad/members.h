// The one table of the CAD host's automation members: which object has which operation,
// under which member name, called how. The COM client, the stand-in's COM server and
// its in-process model all read it, so a host that spells a member differently is one
// line to change.
#pragma once

#include <span>
#include <string_view>

#include "cad/value.h"

namespace cad {

enum class ObjectKind { Application, Document, SelectionSets, SelectionSet, Entity, Utility, Layout, Plot };

struct Member {
    ObjectKind object;
    std::wstring_view operation;  // our code name, e.g. L"showWholeDrawing"
    std::wstring_view name;       // the host's member name, e.g. L"ZoomExtents"
    CallKind kind;
};

std::span<const Member> memberTable();

// The row of an operation on an object kind; throws std::logic_error when absent.
const Member& member(ObjectKind object, std::wstring_view operation);

// The row matching a host member name and call kind on an object (member names are
// compared without regard to letter case, as IDispatch does); nullptr when absent.
const Member* findMember(ObjectKind object, std::wstring_view name, CallKind kind);

std::wstring_view objectKindName(ObjectKind object);

}  // namespace cad
