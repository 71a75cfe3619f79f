// The interfaces that describe the stand-in's automation objects. A CAD host describes
// each kind of object by an interface of its own, and each kind of entity too: a
// lightweight and an old-style polyline both have "Coordinates" and "Closed", but
// through different interfaces, whose member ids need not agree. The COM server gives
// each interface its own type information and member ids (sim/win/dispids.h).
#pragma once

#include <optional>

#include "cad/value.h"

namespace sim {

enum class Interface {
    Application,
    Document,
    SelectionSets,
    SelectionSet,
    LwPolyline,  // an LWPOLYLINE entity
    Polyline,    // an old-style POLYLINE entity
    Entity,      // any other entity
    BlockReference,  // a block insert (INSERT)
    Utility,
    Layout,
    Plot,
    Attribute,  // an attribute reference of a block reference
};

// The interface that describes an automation object of the stand-in; nullopt for an
// object that is not one of the stand-in's.
std::optional<Interface> interfaceOf(const cad::Dispatch& object);

}  // namespace sim
