// Connecting to the running CAD host, and the document's temporary selection set.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cad/automation.h"
#include "cad/profiles.h"

namespace cad {

// Tells whether a top-level window with exactly this title, or a title beginning so,
// exists (the class is not looked at). The Win32 backend asks FindWindowW and
// EnumWindows; tests script it.
class HostWindowFinder {
public:
    virtual ~HostWindowFinder() = default;
    virtual bool topLevelWindowExists(std::wstring_view title) = 0;
    virtual bool topLevelWindowTitleBegins(std::wstring_view prefix) = 0;
};

// Whether the profile's main window is open.
bool hostWindowOpen(HostWindowFinder& windows, const CadProfile& profile);

// The creator of the host's application object. Create() reaches the profile's object:
// the running one of its ProgID, or one made by its class id, asked for the profile's
// application interface; any failure throws.
class CoApplication {
public:
    virtual ~CoApplication() = default;
    virtual std::unique_ptr<CadApplication> Create(const CadProfile& profile) = 0;
};

// True, with a fresh application object in `application`, when the profile's main
// window exists and its object could be reached. When there is no such window nothing is
// asked for and `application` is left untouched; when reaching the object fails the
// failure is swallowed, its text left in `failure` when given, and `application` is
// emptied. Nothing is ever shown.
bool connectToCad(std::unique_ptr<CadApplication>& application, HostWindowFinder& windows,
                  CoApplication& creator, const CadProfile& profile = builtInProfiles().front(),
                  std::wstring* failure = nullptr);

// The document's selection set named exactly "ssTemp" (the first one, in index order),
// emptied; a new one of that name when there is none. Host errors reach the caller.
std::unique_ptr<CadSelectionSet> tempSelectionSet(CadDocument& document);

}  // namespace cad
