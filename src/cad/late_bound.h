// The automation objects of automation.h over late-bound objects (cad::Dispatch):
// each operation calls the host member the member table names for it. Results are
// checked for shape before use; an unexpected shape (a list that is not an array, a
// point of one coordinate, a missing object, text where a number belongs) throws
// CadError.
#pragma once

#include <memory>

#include "cad/automation.h"
#include "cad/value.h"

namespace cad {

// The application object over its late-bound object; throws CadError when it is null.
std::unique_ptr<CadApplication> wrapApplication(DispatchPtr application);

}  // namespace cad
