// Shell services for the native tests: a screen of a chosen size, a program path in a
// folder of the test's own, the messages shown, and CP932 through the C library.
#pragma once

#include <iconv.h>

#include <string>
#include <vector>

#include "app/shell_services.h"
#include "app/text_codec.h"

namespace testing_support {

class FakeShell : public app::ShellServices {
public:
    app::ScreenSize screen{1920, 1080};
    std::wstring program;
    int scaleFactor = 100;
    std::vector<std::wstring> messages;

    app::ScreenSize primaryScreenSize() override { return screen; }
    std::wstring programPath() override { return program; }
    void showMessage(const std::wstring& text) override { messages.push_back(text); }
    int monitorScaleFactor() override { return scaleFactor; }
    std::wstring decodeAnsi(std::string_view bytes) override {
        return app::fromUtf8(iconvBytes(bytes, "UTF-8", "CP932"));
    }

    static std::string encodeCp932(const std::wstring& text) {
        return iconvBytes(app::toUtf8(text), "CP932", "UTF-8");
    }

private:
    static std::string iconvBytes(std::string_view in, const char* to, const char* from) {
        std::string out(in.size() * 4 + 16, '\0');
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) return {};
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        iconv_close(cd);
        out.resize(out.size() - dstLeft);
        return out;
    }
};

}  // namespace testing_support
