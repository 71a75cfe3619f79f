// The automation objects of automation.h over late-bound objects (cad::Dispatch):
// each operation calls the host member the member table names for it. Results are
// checked for shape before use; an unexpected shape (a list that is not an array, a
// point of one coordinate, a missing object, text where a number belongs) throws
// CadError.
#pragma once

#include <memory>
#include <string>

#include "cad/automation.h"
#include "cad/ids.h"
#include "cad/value.h"

namespace cad {

// The application object over its late-bound object; throws CadError when it is null.
// The document's plot object is asked for the plot interface of that id, or, with an
// empty id, used as it comes.
std::unique_ptr<CadApplication> wrapApplication(DispatchPtr application,
                                                std::wstring plotInterfaceId = kPlotInterfaceId);

}  // namespace cad
