// Registration of the type library embedded in cadsim.exe (resource TYPELIB 1), and the
// type information of its interfaces that the COM objects give their clients. The
// registration lets COM marshal the dual application and plot interfaces between
// processes; plain IDispatch needs none.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "cad/com/com_types_win.h"
#include "sim/model/interfaces.h"

namespace sim {

// The full path of this program.
std::wstring programPath();

struct TypeLibOutcome {
    HRESULT result = E_FAIL;
    std::wstring where;  // "machine", "user", or empty when nothing was done
};

// Registers in the machine classes (the only ones Wine consults when marshalling); where
// those are refused, for the current user.
TypeLibOutcome registerTypeLibrary(const std::wstring& program);

// Removes both registrations; succeeds when none is left (also when there was none).
TypeLibOutcome unregisterTypeLibrary(const std::wstring& program);

// The type information of an interface (its dispatch side), from the type library
// embedded in this program, loaded on first use; null when the library cannot be loaded.
cad::com::ComPtr<ITypeInfo> typeInfoOf(Interface in);

}  // namespace sim
