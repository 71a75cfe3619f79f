// Registration of the type library embedded in cadsim.exe (resource TYPELIB 1). Its
// registration lets COM marshal the dual application and plot interfaces between
// processes; plain IDispatch needs none.
#pragma once

#include <windows.h>

#include <string>

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

}  // namespace sim
