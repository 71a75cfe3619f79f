// An in-process IDispatch for tests: members by name, each answering from a handler
// that sees the raw DISPPARAMS; calls and name look-ups are recorded, and live
// objects counted so that tests can see every reference released. An object may give
// type information (a ScriptedTypeInfo: only its GUID is told) and number its members
// from an id of its own choosing.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace comtest {

// Type information that tells its GUID (GetTypeAttr) and nothing else.
class ScriptedTypeInfo final : public ITypeInfo {
public:
    static inline int alive = 0;
    static inline int attributeRequests = 0;  // GetTypeAttr calls

    static ScriptedTypeInfo* make(const GUID& guid) { return new ScriptedTypeInfo(guid); }  // one reference

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_ITypeInfo) return E_NOINTERFACE;
        *out = static_cast<ITypeInfo*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** out) override {
        ++attributeRequests;
        *out = new TYPEATTR{};
        (*out)->guid = guid_;
        (*out)->typekind = TKIND_DISPATCH;
        return S_OK;
    }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attributes) override { delete attributes; }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID, BSTR*, BSTR*, DWORD*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

private:
    explicit ScriptedTypeInfo(const GUID& guid) : guid_(guid) { ++alive; }
    ~ScriptedTypeInfo() { --alive; }
    GUID guid_;
    ULONG refs_ = 1;
};

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
    std::map<std::wstring, IUnknown*> interfaces;  // registry form of the IID -> object (not owned; null: S_OK and nothing)
    std::vector<Call> calls;                       // params cleared after each call
    DISPID firstId = 1;                            // the members' ids, in name order, from here

    // Gives type information from now on (a reference of our own is kept).
    void describeBy(ITypeInfo* info) {
        info->AddRef();
        if (typeInfo_) typeInfo_->Release();
        typeInfo_ = info;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
        } else {
            wchar_t text[40];
            StringFromGUID2(iid, text, 40);
            auto it = interfaces.find(text);
            if (it == interfaces.end()) return E_NOINTERFACE;
            return it->second ? it->second->QueryInterface(IID_IDispatch, out) : S_OK;
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
        *count = typeInfo_ ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!typeInfo_) return E_NOTIMPL;
        if (index != 0) return DISP_E_BADINDEX;
        typeInfo_->AddRef();
        *out = typeInfo_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1) return E_INVALIDARG;
        lookups.push_back(names[0]);
        DISPID id = firstId;
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
        for (DISPID i = firstId; i < id && it != members.end(); ++i) ++it;
        if (id < firstId || it == members.end()) return DISP_E_MEMBERNOTFOUND;
        calls.push_back({it->first, flags, *params});
        HRESULT hr = it->second(calls.back(), result, info);
        calls.back().params = {};
        return hr;
    }

private:
    ScriptedObject() { ++alive; }
    ~ScriptedObject() {
        if (typeInfo_) typeInfo_->Release();
        --alive;
    }
    ULONG refs_ = 1;
    ITypeInfo* typeInfo_ = nullptr;
};

}  // namespace comtest
