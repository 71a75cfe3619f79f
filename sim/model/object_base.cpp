#include <cwctype>
#include <stdexcept>

#include "cad/ids.h"
#include "sim/model/host_state.h"
#include "sim/model/text_codec.h"

namespace sim {

Object::Object(std::shared_ptr<State> state, cad::ObjectKind kind) : state_(std::move(state)), kind_(kind) {
    ++state_->liveObjects;
}

Object::~Object() { --state_->liveObjects; }

void Object::notServed(const cad::Member& member) {
    throw std::logic_error(encodeUtf8(std::wstring(cad::objectKindName(member.object)) + L"." +
                                      std::wstring(member.name) + L" reached an object of another kind"));
}

namespace {

// What a client reads from a call into a server process that has ended (RPC_S_SERVER_UNAVAILABLE).
constexpr wchar_t kEndedServerText[] = L"The RPC server is unavailable.";

std::wstring unknownMemberText(cad::ObjectKind object, std::wstring_view name, cad::CallKind kind) {
    std::wstring where = std::wstring(cad::objectKindName(object)) + L"." + std::wstring(name);
    for (cad::CallKind other : {cad::CallKind::Get, cad::CallKind::Put, cad::CallKind::Method}) {
        if (other == kind || !cad::findMember(object, name, other)) continue;
        const wchar_t* how = kind == cad::CallKind::Get ? L"read" : kind == cad::CallKind::Put ? L"set" : L"called";
        return where + L": member not found (it cannot be " + how + L")";
    }
    return L"Unknown name: " + where;
}

}  // namespace

cad::Value Object::invoke(std::wstring_view name, cad::CallKind kind, cad::ValueList& args) {
    const cad::Member* member = cad::findMember(kind_, name, kind);
    State& s = *state_;
    std::wstring call = s.trace.on() ? describeCall(kind_, member ? member->name : name, kind, args) : std::wstring();
    try {
        if (!member) throw cad::CadError(unknownMemberText(kind_, name, kind));
        if (!s.host) throw cad::CadError(std::wstring(member->name) + L": the drawing has been closed");
        if (s.ended) throw cad::CadError(kEndedServerText);
        Faults::Verdict verdict = s.faults.count(*member);
        if (verdict.die) {
            s.ended = true;
            if (s.host->onSuddenEnd) s.host->onSuddenEnd();
            throw cad::CadError(kEndedServerText);
        }
        if (verdict.fail)
            throw cad::CadError(std::wstring(member->name) + L": Unspecified error (injected by " +
                                verdict.fail->description() + L")");
        cad::Value result = this->call(*member, args);
        if (verdict.garble) garble(*member, result, args);
        s.trace.write(call, nullptr);
        return result;
    } catch (const cad::CadError& e) {
        s.trace.write(call, &e.text());
        throw;
    }
}

bool sameInterface(std::wstring_view a, std::wstring_view b) {
    auto strip = [](std::wstring_view s) {
        if (s.size() >= 2 && s.front() == L'{' && s.back() == L'}') s = s.substr(1, s.size() - 2);
        return s;
    };
    return equalsNoCase(strip(a), strip(b));
}

cad::DispatchPtr Object::queryInterface(std::wstring_view id) {
    static constexpr wchar_t kUnknown[] = L"{00000000-0000-0000-C000-000000000046}";
    static constexpr wchar_t kDispatch[] = L"{00020400-0000-0000-C000-000000000046}";
    if (sameInterface(id, kUnknown) || sameInterface(id, kDispatch) ||
        (kind_ == cad::ObjectKind::Application && sameInterface(id, cad::kApplicationInterfaceId)) ||
        (kind_ == cad::ObjectKind::Plot && sameInterface(id, cad::kPlotInterfaceId)))
        return shared_from_this();
    throw cad::CadError(std::wstring(cad::objectKindName(kind_)) + L": No such interface supported " + std::wstring(id));
}

Interface Object::describedBy() const {
    switch (kind_) {
        case cad::ObjectKind::Application: return Interface::Application;
        case cad::ObjectKind::Document: return Interface::Document;
        case cad::ObjectKind::SelectionSets: return Interface::SelectionSets;
        case cad::ObjectKind::SelectionSet: return Interface::SelectionSet;
        case cad::ObjectKind::Entity: return Interface::Entity;
        case cad::ObjectKind::Utility: return Interface::Utility;
        case cad::ObjectKind::Layout: return Interface::Layout;
        case cad::ObjectKind::Plot: return Interface::Plot;
        case cad::ObjectKind::Attribute: return Interface::Attribute;
    }
    return Interface::Entity;
}

std::optional<Interface> interfaceOf(const cad::Dispatch& object) {
    if (const auto* ours = dynamic_cast<const Object*>(&object)) return ours->describedBy();
    return std::nullopt;
}

}  // namespace sim
