// The stand-in's automation objects as COM objects: one wrapper class that serves any
// cad::Dispatch through IDispatch (and ISupportErrorInfo), with the type information and
// member ids of the interface that describes the object (sim::interfaceOf), and the
// application and plot interfaces when the wrapped object has them.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "cad/com/com_types_win.h"
#include "cad/value.h"

namespace sim {

// A new COM object for the model object (null stays null), one reference owned by the
// result.
cad::com::ComPtr<IDispatch> wrapForCom(const cad::DispatchPtr& object);

// COM objects alive now (for tests and for the exit check).
long liveComObjects();

}  // namespace sim
