// Owning wrappers for COM pointers and COM-allocated values, free of <windows.h> so that
// their reference rules can be checked natively with counting fakes.
//
// ComPtr<T> holds one reference to an object with AddRef/Release/QueryInterface:
// copying adds a reference, moving steals it, put() releases the old pointer before
// handing out the address to fill, query<U>() asks for another interface and returns
// the HRESULT of QueryInterface.
//
// Owned<Traits> holds a value that must be released (a BSTR, a VARIANT, a SAFEARRAY*):
// Traits gives the type, its empty value, how to release it and how to copy it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace cad::com {

// The interface id of an interface type, for query<U>(). The Windows side specialises
// it for every interface derived from IUnknown; a test fake specialises it for itself.
template <class U>
struct InterfaceIdOf;

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Shares the caller's pointer: adds a reference of our own.
    explicit ComPtr(T* p) noexcept : p_(p) { addRef(); }
    ComPtr(const ComPtr& other) noexcept : p_(other.p_) { addRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    ComPtr(const ComPtr<U>& other) noexcept : p_(other.get()) { addRef(); }
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other) noexcept {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        reset();
        return *this;
    }

    // Takes over a reference the caller owns (e.g. one an API returned).
    static ComPtr adopt(T* p) noexcept {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // The address to be filled by a function that returns a new reference; the
    // reference held before is released first.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Gives up the reference without releasing it.
    [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }
    // A new reference for a caller that will own it (an out parameter).
    T* copyOut() const noexcept {
        addRef();
        return p_;
    }
    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    // Asks the object for interface U; on failure `out` is left empty. A null pointer
    // answers E_POINTER without calling anything.
    template <class U, class Iid>
    auto query(const Iid& iid, ComPtr<U>& out) const {
        using Result = decltype(p_->QueryInterface(iid, out.putVoid()));
        if (!p_) return static_cast<Result>(static_cast<std::int32_t>(0x80004003u));  // E_POINTER
        return p_->QueryInterface(iid, out.putVoid());
    }
    template <class U>
    auto query(ComPtr<U>& out) const {
        return query(InterfaceIdOf<U>::value(), out);
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    void addRef() const noexcept {
        if (p_) p_->AddRef();
    }

    T* p_ = nullptr;
};

template <class Traits>
class Owned {
public:
    using Type = typename Traits::Type;

    Owned() noexcept : v_(Traits::empty()) {}
    Owned(const Owned& other) : v_(Traits::copy(other.v_)) {}
    Owned(Owned&& other) noexcept : v_(std::exchange(other.v_, Traits::empty())) {}
    ~Owned() { Traits::release(v_); }

    Owned& operator=(const Owned& other) {
        Owned(other).swap(*this);
        return *this;
    }
    Owned& operator=(Owned&& other) noexcept {
        Owned(std::move(other)).swap(*this);
        return *this;
    }

    // Takes over a value the caller owns.
    static Owned adopt(Type v) noexcept {
        Owned result;
        result.v_ = v;
        return result;
    }

    const Type& get() const noexcept { return v_; }
    Type& get() noexcept { return v_; }
    // The address to be filled with a new value; the value held before is released first.
    Type* put() noexcept {
        reset();
        return &v_;
    }
    void reset() noexcept {
        Traits::release(v_);
        v_ = Traits::empty();
    }
    // Gives up ownership; this is left empty.
    [[nodiscard]] Type detach() noexcept { return std::exchange(v_, Traits::empty()); }
    void swap(Owned& other) noexcept { std::swap(v_, other.v_); }

private:
    Type v_;
};

}  // namespace cad::com
