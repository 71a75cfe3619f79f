#include "cad/com/com_dispatch_win.h"

#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "cad/com/busy_wait_win.h"
#include "cad/com/variant_convert_win.h"

namespace cad::com {
namespace {

// The member ids of the objects reached from one root, per type of object: an object's
// type is its type information's GUID (IDispatch::GetTypeInfo, then GetTypeAttr).
struct DispidCache {
    std::map<std::wstring, DISPID, std::less<>> ids;  // "type GUID\nmember" -> DISPID
    // The type information objects seen, kept with their GUID: a host hands out the same
    // one for every object of a type, and COM the same proxy for it, so a type seen
    // before is known again without asking for its attributes.
    std::vector<std::pair<ComPtr<ITypeInfo>, std::wstring>> typeInfos;
};

// No more type information objects than this are kept (a host that makes a new one for
// every object is asked for the attributes of each).
constexpr std::size_t kKeptTypeInfos = 64;

// The type of an object: the GUID of its type information, in registry form; empty
// when it gives none. Asked before the object's first call of `member`; throws CadError
// when the CAD stayed busy.
std::wstring typeOf(IDispatch& object, DispidCache& cache, const BusyWait& busy, std::wstring_view member) {
    ComPtr<ITypeInfo> info;
    const HRESULT hr =
        callWhileBusy(busy, member, [&] { return object.GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()); });
    if (FAILED(hr) || !info) return {};
    for (const auto& [known, type] : cache.typeInfos)
        if (known == info) return type;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes)) || !attributes) return {};
    const GUID guid = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    if (guid == GUID_NULL) return {};
    std::wstring type = guidToString(guid);
    if (cache.typeInfos.size() < kKeptTypeInfos) cache.typeInfos.emplace_back(std::move(info), type);
    return type;
}

// VARIANTARGs handed to Invoke, cleared when the call is over.
class ArgumentArray {
public:
    explicit ArgumentArray(size_t n) : items_(n) {
        for (VARIANTARG& v : items_) VariantInit(&v);
    }
    ~ArgumentArray() {
        for (VARIANTARG& v : items_) VariantClear(&v);
    }
    ArgumentArray(const ArgumentArray&) = delete;
    ArgumentArray& operator=(const ArgumentArray&) = delete;
    VARIANTARG& operator[](size_t i) { return items_[i]; }
    VARIANTARG* data() { return items_.empty() ? nullptr : items_.data(); }

private:
    std::vector<VARIANTARG> items_;
};

// EXCEPINFO whose strings are freed with it.
struct ExceptionInfo : EXCEPINFO {
    ExceptionInfo() : EXCEPINFO{} {}
    ~ExceptionInfo() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
};

// Whether a call failed because the CAD's process is gone or no longer answers for the
// object (it ended, crashed, or dropped its objects).
bool cadGone(HRESULT hr) {
    switch (static_cast<unsigned long>(hr)) {
        case 0x800706BAUL:  // RPC_S_SERVER_UNAVAILABLE
        case 0x800706BEUL:  // RPC_S_CALL_FAILED
        case 0x800706BFUL:  // RPC_S_CALL_FAILED_DNE
        case 0x80010007UL:  // RPC_E_SERVER_DIED
        case 0x80010012UL:  // RPC_E_SERVER_DIED_DNE
        case 0x80010108UL:  // RPC_E_DISCONNECTED
        case 0x800401FDUL:  // CO_E_OBJNOTCONNECTED
            return true;
        default:
            return false;
    }
}

// The text of a failed call: the host's own description (EXCEPINFO, else the thread's
// error object), else the system's text for the code, said first in plain words when the
// CAD is gone.
std::wstring failureText(std::wstring_view member, HRESULT hr, const ExceptionInfo& info) {
    if (hr == DISP_E_EXCEPTION && SysStringLen(info.bstrDescription) > 0) return bstrText(info.bstrDescription);
    ComPtr<IErrorInfo> errorInfo;
    if (GetErrorInfo(0, errorInfo.put()) == S_OK && errorInfo) {
        Bstr text;
        if (SUCCEEDED(errorInfo->GetDescription(text.put())) && SysStringLen(text.get()) > 0)
            return bstrText(text.get());
    }
    const HRESULT code = hr == DISP_E_EXCEPTION && FAILED(info.scode) ? info.scode : hr;
    const std::wstring text = std::wstring(member) + L": " + hresultText(code);
    return cadGone(code) ? L"CAD との接続が切れました (CAD が終了したか、応答しなくなりました)。\n" + text : text;
}

class ComDispatch final : public Dispatch {
public:
    ComDispatch(ComPtr<IDispatch> object, std::shared_ptr<DispidCache> cache, const BusyWait& busy)
        : object_(std::move(object)), cache_(std::move(cache)), busy_(busy) {}

    const ComPtr<IDispatch>& object() const { return object_; }

    Value invoke(std::wstring_view member, CallKind kind, ValueList& args) override {
        const DISPID id = dispid(member);
        const DispatchBridge bridge = bridgeForCalls();

        // Arguments in reverse order; Empty ones are out arguments pointing at `outs`.
        const size_t n = args.size();
        ArgumentArray slots(n);
        ArgumentArray outs(n);
        for (size_t i = 0; i < n; ++i) {
            VARIANTARG& slot = slots[n - 1 - i];
            if (args[i].is<Empty>()) {
                V_VT(&slot) = VT_BYREF | VT_VARIANT;
                V_VARIANTREF(&slot) = &outs[i];
            } else {
                slot = toVariant(args[i], bridge).detach();
            }
        }
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{slots.data(), nullptr, static_cast<UINT>(n), 0};
        WORD flags = DISPATCH_METHOD;
        if (kind == CallKind::Get) flags = DISPATCH_PROPERTYGET;
        if (kind == CallKind::Put) {
            flags = DISPATCH_PROPERTYPUT;
            params.rgdispidNamedArgs = &putId;
            params.cNamedArgs = 1;
        }

        Variant result;
        ExceptionInfo info;
        UINT argumentError = 0;
        SetErrorInfo(0, nullptr);  // no stale error object is taken for this call's
        // A rejected call did not run: the arguments are as they were, nothing was filled.
        const HRESULT hr = callWhileBusy(busy_, member, [&] {
            return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                   kind == CallKind::Put ? nullptr : result.put(), &info, &argumentError);
        });
        if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
        if (FAILED(hr)) throw CadError(failureText(member, hr, info));

        Value converted = fromVariant(result.get(), bridge);
        for (size_t i = 0; i < n; ++i)
            if (args[i].is<Empty>()) args[i] = fromVariant(outs[i], bridge);
        return converted;
    }

    DispatchPtr queryInterface(std::wstring_view interfaceId) override {
        IID iid;
        if (!guidFromString(interfaceId, iid))
            throw CadError(L"インターフェイス ID ではありません: " + std::wstring(interfaceId));
        ComPtr<IDispatch> other;
        HRESULT hr = object_.query(iid, other);
        if (FAILED(hr)) throw CadError(std::wstring(interfaceId) + L": " + hresultText(hr));
        if (!other) throw CadError(std::wstring(interfaceId) + L": オブジェクトが返されませんでした。");
        return std::make_shared<ComDispatch>(std::move(other), cache_, busy_);
    }

private:
    // The member's id, looked up once per type of object; an object that gives no type
    // information keeps the ids looked up on it to itself.
    DISPID dispid(std::wstring_view member) {
        if (!typeKnown_) {
            type_ = typeOf(*object_.get(), *cache_, busy_, member);
            typeKnown_ = true;
        }
        auto& ids = type_.empty() ? ownIds_ : cache_->ids;
        std::wstring key = type_.empty() ? std::wstring(member) : type_ + L"\n" + std::wstring(member);
        if (auto it = ids.find(key); it != ids.end()) return it->second;
        std::wstring name(member);
        LPOLESTR names[] = {name.data()};
        DISPID id = DISPID_UNKNOWN;
        const HRESULT hr = callWhileBusy(
            busy_, member, [&] { return object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
        if (FAILED(hr)) throw CadError(name + L": " + hresultText(hr));
        ids.emplace(std::move(key), id);
        return id;
    }

    // Our objects go to the host as the remote objects they wrap; objects it gives come
    // back wrapped, sharing the ids found so far.
    DispatchBridge bridgeForCalls() const {
        DispatchBridge bridge;
        bridge.toCom = [](const DispatchPtr& object) {
            ComPtr<IDispatch> remote = remoteObjectOf(object);
            if (!remote) throw CadError(L"CAD に渡せないオブジェクトです。");
            return remote;
        };
        bridge.fromCom = [cache = cache_, busy = busy_](const ComPtr<IDispatch>& o) {
            return DispatchPtr(std::make_shared<ComDispatch>(o, cache, busy));
        };
        return bridge;
    }

    ComPtr<IDispatch> object_;
    std::shared_ptr<DispidCache> cache_;
    BusyWait busy_;  // how long a call the CAD rejects as busy is tried again
    bool typeKnown_ = false;
    std::wstring type_;                                   // empty: none given
    std::map<std::wstring, DISPID, std::less<>> ownIds_;  // member -> DISPID, without a type
};

}  // namespace

DispatchPtr wrapRemote(ComPtr<IDispatch> object, const BusyWait& busy) {
    if (!object) return nullptr;
    return std::make_shared<ComDispatch>(std::move(object), std::make_shared<DispidCache>(), busy);
}

ComPtr<IDispatch> remoteObjectOf(const DispatchPtr& object) {
    if (auto* remote = dynamic_cast<ComDispatch*>(object.get())) return remote->object();
    return nullptr;
}

std::wstring hresultText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text.empty() ? std::wstring(L"エラー ") + code : text + L" (" + code + L")";
}

}  // namespace cad::com
