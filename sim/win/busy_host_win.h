// The stand-in as a busy host (--busy N): a message filter on its apartment that
// rejects every automation call N times before serving it, as a CAD running a command
// or showing a modal dialog rejects its clients' calls. The model counts (Host::
// rejectWhileBusy); this is the COM side.
#pragma once

#include "cad/com/com_types_win.h"
#include "sim/model/host.h"

namespace sim {

// The filter for the host, which must outlive it. Calls through the automation
// interfaces (IDispatch and the application and plot interfaces) are subject to it;
// COM's own calls (activation, reference counts, QueryInterface, type information) are
// always served, as they are no work of the host's.
cad::com::ComPtr<IMessageFilter> busyHostFilter(Host& host);

}  // namespace sim
