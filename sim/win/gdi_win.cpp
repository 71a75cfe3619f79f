#include "sim/win/gdi_win.h"

namespace sim {
namespace {

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

const std::wstring& textFace() {
    static const std::wstring face = [] {
        const platform::WindowDc screen(nullptr);
        const HDC dc = screen.get();
        std::wstring chosen = L"Tahoma";
        for (const wchar_t* f : {L"Noto Sans CJK JP", L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic", L"Malgun Gothic",
                                 L"Microsoft YaHei UI", L"Arial Unicode MS"}) {
            if (faceInstalled(dc, f)) {
                chosen = f;
                break;
            }
        }
        return chosen;
    }();
    return face;
}

HFONT createTextFont(int pixels, int tenthsOfDegree) {
    LOGFONTW font{};
    font.lfHeight = -pixels;
    font.lfEscapement = tenthsOfDegree;
    font.lfOrientation = tenthsOfDegree;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(font.lfFaceName, textFace().c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace sim
