// The application class object: CoCreateInstance in any process of this desktop gets
// the stand-in's application object, for as long as the registration lives.
#pragma once

#include <windows.h>

#include <functional>

#include "cad/value.h"

namespace sim {

class ClassObjectRegistration {
public:
    // Registers the class object for the application class id (local server, many uses).
    explicit ClassObjectRegistration(std::function<cad::DispatchPtr()> application);
    ~ClassObjectRegistration();  // revokes it
    ClassObjectRegistration(const ClassObjectRegistration&) = delete;
    ClassObjectRegistration& operator=(const ClassObjectRegistration&) = delete;

    HRESULT result() const { return result_; }

private:
    DWORD cookie_ = 0;
    HRESULT result_ = E_FAIL;
};

}  // namespace sim
