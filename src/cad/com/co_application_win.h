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
};

// CoCreateInstance(application class id, in-process or local server, IUnknown), then
// QueryInterface for the application interface id; either failure throws CadError.
// Calls to what it creates wait for a busy CAD as `busy` says. COM must be initialised
// on the calling thread.
class ComCoApplication final : public CoApplication {
public:
    explicit ComCoApplication(const BusyWait& busy = {}) : busy_(busy) {}
    std::unique_ptr<CadApplication> Create() override;

private:
    BusyWait busy_;
};

// connectToCad with the Win32 window look-up and COM creation.
bool connectToCad(std::unique_ptr<CadApplication>& application);

}  // namespace cad::com
