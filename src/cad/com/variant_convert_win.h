// cad::Value <-> VARIANT, both directions.
//
//   Empty                 VT_EMPTY (VT_NULL reads as Empty too)
//   Omitted               VT_ERROR holding DISP_E_PARAMNOTFOUND
//   bool                  VT_BOOL (VARIANT_TRUE / VARIANT_FALSE)
//   int16_t, int32_t      VT_I2, VT_I4 (other integer types read as int32_t when they fit)
//   double                VT_R8 (VT_R4 reads as double)
//   wstring               VT_BSTR
//   vector<double>        VT_ARRAY|VT_R8
//   vector<int16_t>       VT_ARRAY|VT_I2
//   vector<wstring>       VT_ARRAY|VT_BSTR
//   ValueList             VT_ARRAY|VT_VARIANT (arrays of other element types read as ValueList)
//   DispatchPtr           VT_DISPATCH, through the bridge
//   vector<DispatchPtr>   VT_ARRAY|VT_DISPATCH, each through the bridge (null stays null)
//
// A VT_BYREF argument reads as the value it points to. Arrays must have one dimension;
// their lower bound is not assumed to be 0. Anything else, or an array whose element
// size does not match its type, throws CadError: a VARIANT from another process is
// never trusted.
#pragma once

#include <functional>

#include "cad/com/com_types_win.h"
#include "cad/value.h"

namespace cad::com {

// How objects cross between cad::Dispatch and IDispatch. A COM server hands out its
// own objects wrapped as IDispatch; a COM client wraps the remote objects it receives.
struct DispatchBridge {
    // Our object as an IDispatch (null stays null).
    std::function<ComPtr<IDispatch>(const DispatchPtr&)> toCom;
    // A received IDispatch as our object (null stays null).
    std::function<DispatchPtr(const ComPtr<IDispatch>&)> fromCom;
};

Variant toVariant(const Value& value, const DispatchBridge& bridge);
Value fromVariant(const VARIANT& variant, const DispatchBridge& bridge);

// Stores a value into a VT_BYREF|VT_VARIANT out argument, releasing what it held.
// Returns false (and changes nothing) when the argument is not such a reference.
bool writeOut(VARIANT& byRefArgument, const Value& value, const DispatchBridge& bridge);

}  // namespace cad::com
