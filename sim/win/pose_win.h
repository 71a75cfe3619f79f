// The registrations of a pose (see sim::HostPose): the ProgID's key pointing at the
// application class, and the application object in the running object table, both for
// as long as the stand-in runs.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "cad/com_ptr.h"
#include "sim/model/command_line.h"

namespace sim {

class PoseRegistration {
public:
    PoseRegistration(const HostPose& pose, const cad::com::ComPtr<IDispatch>& application);
    ~PoseRegistration();  // revokes the object, removes the key it made
    PoseRegistration(const PoseRegistration&) = delete;
    PoseRegistration& operator=(const PoseRegistration&) = delete;

    // What could not be registered; empty when all went well.
    const std::wstring& problem() const { return problem_; }

private:
    HKEY root_ = nullptr;       // where the ProgID's key was made; null when none was
    std::wstring progIdKey_;    // Software\Classes\<ProgID>
    DWORD rotCookie_ = 0;
    bool inTable_ = false;
    std::wstring problem_;
};

}  // namespace sim
