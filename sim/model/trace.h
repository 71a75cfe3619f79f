// The call trace (--trace FILE): one line per automation call,
//   Document.GetVariable("GRIDMODE")
//   Layout.ConfigName = "PDF"
//   Application.ActiveDocument
//   SelectionSet.Item(7) fail: <the host's error text>
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "cad/members.h"
#include "cad/value.h"

namespace sim {

// A value as the trace shows it: numbers in shortest form, strings quoted, arrays in
// brackets, omitted arguments as "omitted", objects as "object" / "nothing".
std::wstring describeValue(const cad::Value& value);
std::wstring describeCall(cad::ObjectKind object, std::wstring_view member, cad::CallKind kind,
                          const cad::ValueList& args);

class Trace {
public:
    Trace() = default;
    // Throws std::invalid_argument when the file cannot be opened for appending.
    explicit Trace(const std::filesystem::path& file);
    bool on() const { return on_; }
    void write(const std::wstring& call, const std::wstring* failure);

private:
    bool on_ = false;
    std::ofstream out_;
};

}  // namespace sim
