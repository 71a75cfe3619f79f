#include "cad/com/message_filter_win.h"

namespace cad::com {

HRESULT STDMETHODCALLTYPE MessageFilter::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IMessageFilter) return E_NOINTERFACE;
    *out = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE MessageFilter::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

MessageFilterScope::MessageFilterScope(ComPtr<IMessageFilter> filter)
    : result_(CoRegisterMessageFilter(filter.get(), previous_.put())) {}

MessageFilterScope::~MessageFilterScope() {
    if (SUCCEEDED(result_)) CoRegisterMessageFilter(previous_.get(), nullptr);
}

}  // namespace cad::com
