// The Win32 side of connecting: the host's main window looked up with FindWindowW, and
// the application object made through COM.
#pragma once

#include <memory>

#include "cad/busy_wait.h"
#include "cad/connect.h"

namespace cad::com {

class Win32HostWindowFinder final : public HostWindowFinder {
public:
    bool topLevelWindowExists(std::wstring_view title) override;
    bool topLevelWindowTitleBegins(std::wstring_view prefix) override;
};

// Whether a top-level window's title begins with the prefix (EnumWindows).
bool topLevelWindowWithTitlePrefix(std::wstring_view prefix);

// For a ProgID: CLSIDFromProgID and GetActiveObject (the running object table; nothing
// is started). Otherwise CoCreateInstance(class id, in-process or local server,
// IUnknown). Then QueryInterface for the profile's application interface, or IDispatch.
// Any failure throws CadError. Calls to what it reaches wait for a busy CAD as `busy`
// says. COM must be initialised on the calling thread.
class ComCoApplication final : public CoApplication {
public:
    explicit ComCoApplication(const BusyWait& busy = {}) : busy_(busy) {}
    std::unique_ptr<CadApplication> Create(const CadProfile& profile) override;

private:
    BusyWait busy_;
};

// connectToCad with the Win32 window look-up and COM.
bool connectToCad(std::unique_ptr<CadApplication>& application,
                  const CadProfile& profile = builtInProfiles().front());

}  // namespace cad::com
