#include "sim/model/faults.h"

#include <charconv>
#include <stdexcept>

#include "sim/model/text_codec.h"

namespace sim {

bool FaultRule::matches(const cad::Member& m) const {
    if (!object.empty() && !equalsNoCase(object, cad::objectKindName(m.object))) return false;
    return equalsNoCase(name, m.name) || equalsNoCase(name, m.operationName);
}

std::wstring FaultRule::description() const { return decodeUtf8(option + " " + given); }

namespace {

FaultRule parseRule(const std::string& option, const std::string& given) {
    FaultRule rule;
    rule.option = option;
    rule.given = given;
    auto bad = [&](const std::string& why) -> std::invalid_argument {
        return std::invalid_argument(option + " " + given + ": " + why);
    };
    std::string name = given;
    if (std::size_t at = given.find('@'); at != std::string::npos) {
        name = given.substr(0, at);
        std::string count = given.substr(at + 1);
        auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), rule.nth);
        if (count.empty() || ec != std::errc() || end != count.data() + count.size() || rule.nth < 1)
            throw bad("the call number after @ must be a whole number from 1");
    }
    if (std::size_t dot = name.find('.'); dot != std::string::npos) {
        rule.object = decodeUtf8(name.substr(0, dot));
        name = name.substr(dot + 1);
        bool known = false;
        for (const cad::Member& m : cad::memberTable()) known = known || equalsNoCase(rule.object, cad::objectKindName(m.object));
        if (!known) throw bad("there is no automation object called \"" + encodeUtf8(rule.object) + "\"");
    }
    rule.name = decodeUtf8(name);
    bool any = false;
    for (const cad::Member& m : cad::memberTable()) any = any || rule.matches(m);
    if (name.empty() || !any) throw bad("no automation member or operation is called \"" + name + "\"");
    return rule;
}

}  // namespace

Faults::Faults(const std::vector<std::string>& fails, const std::vector<std::string>& garbles,
               const std::vector<std::string>& deaths) {
    for (const std::string& given : fails) fails_.push_back(parseRule("--fail", given));
    for (const std::string& given : garbles) garbles_.push_back(parseRule("--garble", given));
    for (const std::string& given : deaths) deaths_.push_back(parseRule("--die", given));
}

Faults::Verdict Faults::count(const cad::Member& member) {
    Verdict verdict;
    for (FaultRule& rule : fails_)
        if (rule.matches(member) && ++rule.seen == rule.nth && !verdict.fail) verdict.fail = &rule;
    for (FaultRule& rule : garbles_)
        if (rule.matches(member) && ++rule.seen == rule.nth && !verdict.garble) verdict.garble = &rule;
    for (FaultRule& rule : deaths_)
        if (rule.matches(member) && ++rule.seen == rule.nth && !verdict.die) verdict.die = &rule;
    return verdict;
}

namespace {

void garbleValue(const cad::Member& member, cad::Value& v) {
    using cad::Value;
    if (auto* list = v.get<std::vector<std::wstring>>()) {
        v = Value(list->empty() ? std::wstring() : list->front());
    } else if (auto* numbers = v.get<std::vector<double>>()) {
        double first = numbers->empty() ? 0.0 : numbers->front();
        if (member.operation == cad::Operation::Coordinates) v = Value(first);
        else v = Value(std::vector<double>{first});
    } else if (v.is<cad::DispatchPtr>()) {
        v = Value(cad::DispatchPtr{});
    } else if (v.is<std::wstring>()) {
        v = Value();
    } else {  // numbers, booleans, arrays of objects and the nothing of a call without result
        v = Value(std::wstring(L"garbled"));
    }
}

}  // namespace

void garble(const cad::Member& member, cad::Value& result, cad::ValueList& args) {
    if (member.operation == cad::Operation::measureExtents || member.operation == cad::Operation::entityExtents) {
        for (cad::Value& out : args) garbleValue(member, out);
        return;
    }
    garbleValue(member, result);
}

}  // namespace sim
