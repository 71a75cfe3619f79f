// A scripted late-bound object for tests: members answer from handlers, every call is
// recorded, and the number of fakes alive is counted.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cad/value.h"

namespace cadtest {

struct RecordedCall {
    std::wstring member;
    cad::CallKind kind;
    cad::ValueList args;
};

class FakeDispatch : public cad::Dispatch {
public:
    using Handler = std::function<cad::Value(cad::ValueList& args)>;

    explicit FakeDispatch(std::wstring label = L"") : label(std::move(label)) { ++alive; }
    ~FakeDispatch() override { --alive; }

    static std::shared_ptr<FakeDispatch> make(std::wstring label = L"") {
        return std::make_shared<FakeDispatch>(std::move(label));
    }

    FakeDispatch& on(std::wstring member, cad::CallKind kind, Handler handler) {
        handlers[{std::move(member), kind}] = std::move(handler);
        return *this;
    }
    FakeDispatch& returns(std::wstring member, cad::CallKind kind, cad::Value result) {
        return on(std::move(member), kind, [result](cad::ValueList&) { return result; });
    }
    FakeDispatch& fails(std::wstring member, cad::CallKind kind, std::wstring text) {
        return on(std::move(member), kind, [text](cad::ValueList&) -> cad::Value { throw cad::CadError(text); });
    }

    cad::Value invoke(std::wstring_view member, cad::CallKind kind, cad::ValueList& args) override {
        calls.push_back({std::wstring(member), kind, args});
        auto it = handlers.find({std::wstring(member), kind});
        if (it == handlers.end()) throw cad::CadError(L"no member " + std::wstring(member));
        return it->second(args);
    }
    cad::DispatchPtr queryInterface(std::wstring_view interfaceId) override {
        auto it = interfaces.find(std::wstring(interfaceId));
        if (it == interfaces.end()) throw cad::CadError(L"no interface");
        return it->second;
    }

    std::wstring label;
    std::map<std::pair<std::wstring, cad::CallKind>, Handler> handlers;
    std::map<std::wstring, cad::DispatchPtr> interfaces;
    std::vector<RecordedCall> calls;
    static inline int alive = 0;
};

using FakePtr = std::shared_ptr<FakeDispatch>;

}  // namespace cadtest
