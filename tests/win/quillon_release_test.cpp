// The file a user copies, release/quillon.exe: the version Explorer shows, the program
// icon at the sizes Windows asks for, the manifest, no debug information, and no DLL
// that Windows does not bring itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/win/quillon_process.h"
#include "ui/win/form_win.h"

namespace {

std::wstring releaseExe() { return wintest::binDir() + L"/release/quillon.exe"; }

std::vector<char> fileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program file mapped for its resources only.
class ResourceFile {
public:
    explicit ResourceFile(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceFile() {
        if (module_) FreeLibrary(module_);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    HMODULE module() const { return module_; }
    // The bytes of one resource; empty when there is none.
    std::string bytes(const wchar_t* type, const wchar_t* name) const {
        HRSRC found = module_ ? FindResourceW(module_, name, type) : nullptr;
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        return data ? std::string(data, SizeofResource(module_, found)) : std::string();
    }

private:
    HMODULE module_;
};

TEST(QuillonRelease, CarriesItsVersionInBothLanguages) {
    const std::wstring exe = releaseExe();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version information in release/quillon.exe";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(6, 2)));  // 2.6: "2.06"
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(6, 2)));

    const struct {
        const wchar_t* key;
        const wchar_t* expected;  // the whole value, or (description) a part of it
    } cases[] = {
        {L"\\StringFileInfo\\041104B0\\ProductName", L"Quillon"},
        {L"\\StringFileInfo\\041104B0\\FileVersion", L"2.06"},
        {L"\\StringFileInfo\\041104B0\\FileDescription", L"図枠を探して一括印刷"},  // read as UTF-8
        {L"\\StringFileInfo\\040904B0\\ProductName", L"Quillon"},
        {L"\\StringFileInfo\\040904B0\\ProductVersion", L"2.06"},
        {L"\\StringFileInfo\\040904B0\\FileDescription", L"plots them"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key, c.key + wcslen(c.key)));
        wchar_t* value = nullptr;
        ASSERT_TRUE(VerQueryValueW(info.data(), c.key, reinterpret_cast<void**>(&value), &length));
        const std::wstring text(value);
        if (wcsstr(c.key, L"FileDescription")) EXPECT_NE(text.find(c.expected), std::wstring::npos);
        else EXPECT_EQ(text, c.expected);
    }
}

// Each size comes drawn, not scaled from another: the entry Windows picks for it has
// that size. The manifest is there with its per-monitor dpi awareness.
TEST(QuillonRelease, CarriesTheIconAtEachSizeAndTheManifest) {
    const ResourceFile file(releaseExe());
    ASSERT_NE(file.module(), nullptr);
    std::string group = file.bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(platform::kProgramIconId));
    ASSERT_FALSE(group.empty()) << "no program icon";
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(group.data()), TRUE, size, size,
                                                   LR_DEFAULTCOLOR);
        const std::string image = file.bytes(RT_ICON, MAKEINTRESOURCEW(id));
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        if (image.compare(1, 3, "PNG") == 0) {
            ADD_FAILURE() << "a PNG entry where a bitmap of " << size << " pixels was expected";
            continue;
        }
        BITMAPINFOHEADER header{};
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size);  // the colours and the mask
        EXPECT_EQ(header.biBitCount, 32);      // with an alpha channel: the rounded corners
    }
    const std::string manifest = file.bytes(RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2<"),
              std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

// No symbol table and no debug sections (their long names are kept in the symbol
// table's strings as "/N"), and every DLL it imports lies in the system folder.
TEST(QuillonRelease, IsStrippedAndNeedsNoDllOfItsOwn) {
    const std::vector<char> file = fileBytes(releaseExe());
    ASSERT_GT(file.size(), 4096u);
    const auto at = [&](std::size_t offset, auto& out) {
        ASSERT_LE(offset + sizeof out, file.size());
        std::memcpy(&out, file.data() + offset, sizeof out);
    };
    IMAGE_DOS_HEADER dos{};
    at(0, dos);
    IMAGE_NT_HEADERS64 nt{};
    at(static_cast<std::size_t>(dos.e_lfanew), nt);
    ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.FileHeader.PointerToSymbolTable, 0u);
    EXPECT_EQ(nt.FileHeader.NumberOfSymbols, 0u);

    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    const std::size_t first = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                              nt.FileHeader.SizeOfOptionalHeader;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        at(first + i * sizeof(IMAGE_SECTION_HEADER), sections[i]);
        const std::string name(reinterpret_cast<const char*>(sections[i].Name), strnlen(reinterpret_cast<const char*>(sections[i].Name), 8));
        EXPECT_TRUE(name[0] != '/' && name.rfind(".debug", 0) != 0) << "section " << name;
    }
    const auto fileOffset = [&](DWORD rva) -> std::size_t {
        for (const IMAGE_SECTION_HEADER& s : sections)
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        return file.size();
    };

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const DWORD imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::vector<std::string> dlls;
    for (std::size_t entry = fileOffset(imports);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR d{};
        at(entry, d);
        if (d.Name == 0 || HasFatalFailure()) break;
        const std::size_t name = fileOffset(d.Name);
        ASSERT_LT(name, file.size());
        dlls.emplace_back(file.data() + name, strnlen(file.data() + name, file.size() - name));
    }
    ASSERT_FALSE(dlls.empty());
    for (const std::string& dll : dlls) {
        const std::wstring path = std::wstring(system) + L"\\" + wintest::widen(dll);
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << dll << " is not one of Windows' own";
    }
}

}  // namespace
