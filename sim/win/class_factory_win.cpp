#include "sim/win/class_factory_win.h"

#include <atomic>
#include <new>

#include "cad/com/com_types_win.h"
#include "cad/ids.h"
#include "sim/win/com_object_win.h"

namespace sim {
namespace {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(std::function<cad::DispatchPtr()> application) : application_(std::move(application)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            const cad::com::ComPtr<IDispatch> object = wrapForCom(application_());
            if (!object) return E_UNEXPECTED;
            return object->QueryInterface(iid, out);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    // The window, not the clients, decides when the stand-in ends.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::atomic<ULONG> refs_{1};
    std::function<cad::DispatchPtr()> application_;
};

}  // namespace

ClassObjectRegistration::ClassObjectRegistration(std::function<cad::DispatchPtr()> application) {
    CLSID clsid{};
    if (!cad::com::guidFromString(cad::kApplicationClassId, clsid)) return;
    const auto factory = cad::com::ComPtr<IClassFactory>::adopt(new ClassFactory(std::move(application)));
    result_ = CoRegisterClassObject(clsid, factory.get(), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

ClassObjectRegistration::~ClassObjectRegistration() {
    if (SUCCEEDED(result_)) CoRevokeClassObject(cookie_);
}

}  // namespace sim
