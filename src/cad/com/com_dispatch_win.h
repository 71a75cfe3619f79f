// The COM client's late-bound object: cad::Dispatch over a remote IDispatch.
//
// invoke() looks the member's DISPID up by name (cached, see below) and calls
// IDispatch::Invoke with the arguments reversed; a put passes its value as the named
// argument DISPID_PROPERTYPUT. An argument holding Empty is an out argument: it goes
// as VT_BYREF|VT_VARIANT and what the host writes there comes back in its place.
// Objects in results are wrapped again.
//
// A failure becomes CadError: the host's description from EXCEPINFO (DISP_E_EXCEPTION)
// or from the thread's IErrorInfo, else the system's text for the HRESULT. A call the
// CAD rejects as busy (GetTypeInfo, GetIDsOfNames and Invoke alike) is tried again until
// the deadline of the BusyWait given at the root (busy_wait_win.h says why here), and
// then fails with the text saying that the CAD stayed busy.
//
// DISPIDs are cached per type of object, for the objects reached from one root (one
// connection): an object's type is the GUID of its type information (GetTypeInfo, then
// GetTypeAttr; a type information seen before is known again by its pointer), so each
// member is looked up once per type. The way an object was reached does not tell its
// type: the entities of one selection set may be of different kinds (a lightweight and
// an old-style polyline), each with its own ids. An object that gives no type
// information keeps the ids looked up on it to itself.
#pragma once

#include <oaidl.h>

#include <string>

#include "cad/busy_wait.h"
#include "cad/com/com_types_win.h"
#include "cad/value.h"

namespace cad::com {

// A remote object and everything reached from it.
DispatchPtr wrapRemote(ComPtr<IDispatch> object, const BusyWait& busy = {});

// The IDispatch behind a wrapped remote object; null for any other object.
ComPtr<IDispatch> remoteObjectOf(const DispatchPtr& object);

// The text for a failed HRESULT: the system's message and the code in hexadecimal, or
// "エラー" and the code when the system has no message for it.
std::wstring hresultText(HRESULT hr);

}  // namespace cad::com
