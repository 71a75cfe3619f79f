// Fault injection: --fail makes the N-th call of a member fail with a host error,
// --garble makes it succeed with a result of the wrong shape, --die makes the host end
// in the middle of it, as a CAD that crashes.
#pragma once

#include <string>
#include <vector>

#include "cad/members.h"
#include "cad/value.h"

namespace sim {

// OPERATION[@N]: OPERATION is a host member name (Select, GetVariable) or our operation
// code name (selectWithFilter), without regard to letter case, optionally qualified by
// the object kind (SelectionSet.Item). N counts the calls this rule matches, from 1.
struct FaultRule {
    std::string option;  // "--fail", "--garble" or "--die"
    std::string given;   // the rule as written
    std::wstring object;  // empty: any object
    std::wstring name;
    long nth = 1;
    long seen = 0;

    bool matches(const cad::Member& member) const;
    std::wstring description() const;  // "--fail Select@2"
};

class Faults {
public:
    Faults() = default;
    // Throws std::invalid_argument with a message for the user when a rule is malformed
    // or names no member.
    Faults(const std::vector<std::string>& fails, const std::vector<std::string>& garbles,
           const std::vector<std::string>& deaths = {});

    struct Verdict {
        const FaultRule* fail = nullptr;
        const FaultRule* garble = nullptr;
        const FaultRule* die = nullptr;
    };
    // Counts one call of the member against every rule.
    Verdict count(const cad::Member& member);

private:
    std::vector<FaultRule> fails_, garbles_, deaths_;
};

// Turns a successful result into one of the wrong shape: a list becomes a single string,
// a point keeps one element, coordinates become a single number, an object becomes
// nothing, a number or boolean becomes a string, a string becomes empty. Out arguments
// (GetBoundingBox) are garbled the same way.
void garble(const cad::Member& member, cad::Value& result, cad::ValueList& args);

}  // namespace sim
