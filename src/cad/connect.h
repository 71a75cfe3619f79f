// Connecting to the running CAD host, and the document's temporary selection set.
#pragma once

#include <memory>
#include <string_view>

#include "cad/automation.h"

namespace cad {

// Tells whether a top-level window with exactly this title exists (the class is not
// looked at). The Win32 backend asks FindWindowW; tests script it.
class HostWindowFinder {
public:
    virtual ~HostWindowFinder() = default;
    virtual bool topLevelWindowExists(std::wstring_view title) = 0;
};

// The creator of the host's application object. Create() makes the object by the
// host's class id and asks it for the application interface; any failure throws.
class CoApplication {
public:
    virtual ~CoApplication() = default;
    virtual std::unique_ptr<CadApplication> Create() = 0;
};

// True, with a fresh application object in `application`, when the host's main window
// exists and its object could be made. When there is no such window nothing is
// created and `application` is left untouched; when making the object fails the
// failure is swallowed and `application` is emptied. Nothing is ever shown.
bool connectToCad(std::unique_ptr<CadApplication>& application, HostWindowFinder& windows,
                  CoApplication& creator);

// The document's selection set named exactly "ssTemp" (the first one, in index order),
// emptied; a new one of that name when there is none. Host errors reach the caller.
std::unique_ptr<CadSelectionSet> tempSelectionSet(CadDocument& document);

}  // namespace cad
