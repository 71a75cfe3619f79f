// An in-process IDispatch for tests: members by name, each answering from a handler
// that sees the raw DISPPARAMS; calls and name look-ups are recorded, and live
// objects counted so that tests can see every reference released.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace comtest {

class ScriptedObject final : public IDispatch {
public:
    struct Call {
        std::wstring member;
        WORD flags;
        DISPPARAMS params;  // valid only during the handler
    };
    using Handler = std::function<HRESULT(const Call&, VARIANT* result, EXCEPINFO* info)>;

    static inline int alive = 0;
    static inline std::vector<std::wstring> lookups;  // names asked of GetIDsOfNames

    static ScriptedObject* make() { return new ScriptedObject(); }  // one reference, the caller's

    std::map<std::wstring, Handler> members;
    std::map<std::wstring, IUnknown*> interfaces;  // registry form of the IID -> object (not owned)
    std::vector<Call> calls;                       // params cleared after each call

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
        } else {
            wchar_t text[40];
            StringFromGUID2(iid, text, 40);
            auto it = interfaces.find(text);
            if (it == interfaces.end()) return E_NOINTERFACE;
            return it->second->QueryInterface(IID_IDispatch, out);
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1) return E_INVALIDARG;
        lookups.push_back(names[0]);
        DISPID id = 1;
        for (const auto& [name, handler] : members) {
            if (_wcsicmp(name.c_str(), names[0]) == 0) {
                ids[0] = id;
                return S_OK;
            }
            ++id;
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        auto it = members.begin();
        for (DISPID i = 1; i < id && it != members.end(); ++i) ++it;
        if (id < 1 || it == members.end()) return DISP_E_MEMBERNOTFOUND;
        calls.push_back({it->first, flags, *params});
        HRESULT hr = it->second(calls.back(), result, info);
        calls.back().params = {};
        return hr;
    }

private:
    ScriptedObject() { ++alive; }
    ~ScriptedObject() { --alive; }
    ULONG refs_ = 1;
};

}  // namespace comtest
