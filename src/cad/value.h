// Late-bound values and objects: what travels through an automation call, independent
// of COM. The COM client and server translate these to and from VARIANTs; the stand-in's
// model serves them in process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cad {

class Dispatch;
using DispatchPtr = std::shared_ptr<Dispatch>;

struct Empty {
    bool operator==(const Empty&) const = default;
};
// An optional argument left out (VT_ERROR / DISP_E_PARAMNOTFOUND).
struct Omitted {
    bool operator==(const Omitted&) const = default;
};

struct Value;
using ValueList = std::vector<Value>;

struct Value {
    using Storage = std::variant<Empty,                      // VT_EMPTY
                                 Omitted,                    // omitted optional argument
                                 bool,                       // VT_BOOL
                                 std::int16_t,               // VT_I2
                                 std::int32_t,               // VT_I4
                                 double,                     // VT_R8
                                 std::wstring,               // VT_BSTR
                                 std::vector<double>,        // VT_ARRAY|VT_R8
                                 std::vector<std::int16_t>,  // VT_ARRAY|VT_I2
                                 std::vector<std::wstring>,  // VT_ARRAY|VT_BSTR
                                 ValueList,                  // VT_ARRAY|VT_VARIANT
                                 DispatchPtr,                // VT_DISPATCH (null: nothing)
                                 std::vector<DispatchPtr>>;  // VT_ARRAY|VT_DISPATCH
    Storage v;

    Value() = default;
    template <typename T>
        requires std::is_constructible_v<Storage, T&&> && (!std::is_same_v<std::decay_t<T>, Value>)
    Value(T&& x) : v(std::forward<T>(x)) {}
    Value(const wchar_t* s) : v(std::wstring(s)) {}

    template <typename T> bool is() const { return std::holds_alternative<T>(v); }
    template <typename T> const T* get() const { return std::get_if<T>(&v); }
    template <typename T> T* get() { return std::get_if<T>(&v); }
};

enum class CallKind { Get, Put, Method };

// The host's failure of one automation call, with the host's own description.
class CadError : public std::exception {
public:
    explicit CadError(std::wstring text);
    const std::wstring& text() const { return text_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring text_;
    std::string utf8_;
};

// One late-bound automation object. invoke() calls a member by name; by-reference
// out arguments are written back into args. A failure throws CadError.
class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Value invoke(std::wstring_view member, CallKind kind, ValueList& args) = 0;
    // The same object seen through another interface (interface id in registry form,
    // "{XXXXXXXX-...}"); throws CadError when the object does not support it.
    virtual DispatchPtr queryInterface(std::wstring_view interfaceId) = 0;
};

}  // namespace cad
