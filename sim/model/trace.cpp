#include "sim/model/trace.h"

#include <stdexcept>

#include "sim/model/format.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

std::wstring quotedText(std::wstring_view s) {
    std::wstring out = L"\"";
    for (wchar_t c : s) {
        if (c == L'"' || c == L'\\') out += L'\\';
        if (c == L'\n') out += L"\\n";
        else if (c == L'\r') out += L"\\r";
        else out += c;
    }
    return out + L"\"";
}

std::wstring number(double v) { return decodeUtf8(numberText(v)); }

template <typename T, typename F>
std::wstring list(const std::vector<T>& items, F each) {
    std::wstring out = L"[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? L", " : L"") + each(items[i]);
    return out + L"]";
}

}  // namespace

std::wstring describeValue(const cad::Value& value) {
    return std::visit(
        [](const auto& v) -> std::wstring {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, cad::Empty>) return L"empty";
            else if constexpr (std::is_same_v<T, cad::Omitted>) return L"omitted";
            else if constexpr (std::is_same_v<T, bool>) return v ? L"true" : L"false";
            else if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>) return std::to_wstring(v);
            else if constexpr (std::is_same_v<T, double>) return number(v);
            else if constexpr (std::is_same_v<T, std::wstring>) return quotedText(v);
            else if constexpr (std::is_same_v<T, std::vector<double>>) return list(v, number);
            else if constexpr (std::is_same_v<T, std::vector<std::int16_t>>)
                return list(v, [](std::int16_t i) { return std::to_wstring(i); });
            else if constexpr (std::is_same_v<T, std::vector<std::wstring>>) return list(v, quotedText);
            else if constexpr (std::is_same_v<T, cad::ValueList>) return list(v, describeValue);
            else if constexpr (std::is_same_v<T, std::vector<cad::DispatchPtr>>) return list(v, describeValue);
            else return v ? L"object" : L"nothing";
        },
        value.v);
}

std::wstring describeCall(cad::ObjectKind object, std::wstring_view member, cad::CallKind kind,
                          const cad::ValueList& args) {
    std::wstring out = std::wstring(cad::objectKindName(object)) + L"." + std::wstring(member);
    if (kind == cad::CallKind::Put) return out + L" = " + (args.empty() ? L"empty" : describeValue(args.front()));
    if (kind == cad::CallKind::Get && args.empty()) return out;
    out += L"(";
    for (std::size_t i = 0; i < args.size(); ++i) out += (i ? L", " : L"") + describeValue(args[i]);
    return out + L")";
}

Trace::Trace(const std::filesystem::path& file) {
    if (file.empty()) return;
    out_.open(file, std::ios::binary | std::ios::app);
    if (!out_) {
        auto u8 = file.u8string();
        throw std::invalid_argument("--trace " + std::string(u8.begin(), u8.end()) + ": the file cannot be written");
    }
    on_ = true;
}

void Trace::write(const std::wstring& call, const std::wstring* failure) {
    if (!on_) return;
    std::wstring line = call;
    if (failure) {
        std::wstring text = *failure;
        for (wchar_t& c : text)
            if (c == L'\n' || c == L'\r') c = L' ';
        line += L" fail: " + text;
    }
    out_ << encodeUtf8(line) << '\n';
    out_.flush();
}

}  // namespace sim
