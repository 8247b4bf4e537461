#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// The resources linked into every program: picture formats, exact gradient rows, icon and version texts.
namespace {

struct GdiDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

Bitmap LoadBitmapResource(const char* name)
{
    return Bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

BITMAP Info(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return info;
}

// Pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> Pixels(HBITMAP bitmap)
{
    BITMAP info = Info(bitmap);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    DeleteDC(dc);
    EXPECT_EQ(info.bmHeight, rows);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

const std::vector<uint32_t> kBarRows = {
    0x1E5595, 0xAFC3DB, 0x8CA9C9, 0x89A7C9, 0x87A3C8, 0x82A2C9, 0x7C9DC6, 0x799CC6, 0x7499C5, 0x6E97C5, 0x6993C5, 0x6591C2,
    0x2F69B3, 0x306CB4, 0x316CB8, 0x336EBC, 0x3570BE, 0x3572C2, 0x3774C4, 0x3875C6, 0x3978C7, 0x3A78CB, 0x3C79CC, 0x3D7BD0};

bool Contains(const std::vector<uint32_t>& colours, uint32_t colour)
{
    return std::find(colours.begin(), colours.end(), colour) != colours.end();
}

struct PictureFormat {
    const char* name;
    int width, height, bits;
};

const PictureFormat kPictures[] = {
    {"FORMTITILEBITMAP", 9, 24, 8},
    {MAKEINTRESOURCEA(8001), 11, 10, 8},
    {MAKEINTRESOURCEA(8002), 12, 10, 8},
    {MAKEINTRESOURCEA(8003), 13, 10, 8},
    {MAKEINTRESOURCEA(8004), 12, 10, 8},
    {MAKEINTRESOURCEA(8005), 16, 16, 8},
    {MAKEINTRESOURCEA(8006), 10, 13, 8},
    {"BUTTON_BACKGROUND", 2, 18, 8},
    {"BUTTON_BACKGROUND_B", 2, 18, 24},
    {"PAGECONTROLBACKGROUND", 1, 21, 24},
    {"DLG_ICONERROREX", 45, 45, 8},
    {"DLG_ICONINFORMATIONEX", 45, 45, 8},
    {"DLG_ICONQUESTIONEX", 45, 45, 8},
    {"DLG_ICONWARNINGEX", 45, 45, 8},
    {"HINTINFO", 67, 15, 8},
    {"HINTLINE", 283, 9, 8},
    {"LOGO", 70, 35, 8},
};

std::string Label(const char* name)
{
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<uintptr_t>(name)) : name;
}

// Every row of the bitmap is one colour, and the rows are exactly these.
void ExpectRows(const char* name, const std::vector<uint32_t>& rows)
{
    SCOPED_TRACE(name);
    Bitmap bitmap = LoadBitmapResource(name);
    ASSERT_TRUE(bitmap);
    int width = Info(bitmap.get()).bmWidth;
    std::vector<uint32_t> pixels = Pixels(bitmap.get());
    ASSERT_EQ(rows.size() * width, pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(rows[i / width], pixels[i]) << "row " << i / width << ", column " << i % width;
}

}  // namespace

TEST(Resources, PicturesHaveTheirSizeAndDepth)
{
    for (const PictureFormat& p : kPictures) {
        SCOPED_TRACE(Label(p.name));
        Bitmap bitmap = LoadBitmapResource(p.name);
        ASSERT_TRUE(bitmap);
        BITMAP info = Info(bitmap.get());
        EXPECT_EQ(p.width, info.bmWidth);
        EXPECT_EQ(p.height, info.bmHeight);
        EXPECT_EQ(p.bits, info.bmBitsPixel);
    }
}

TEST(Resources, GradientsHaveTheirExactRows)
{
    ExpectRows("FORMTITILEBITMAP", kBarRows);
    ExpectRows("BUTTON_BACKGROUND",
               {0xFEFEFE, 0xFDFDFD, 0xFCFCFC, 0xFAFAFA, 0xF8F8F8, 0xF7F7F7, 0xF5F5F5, 0xF3F3F3, 0xF1F1F1,
                0xE1E1E1, 0xE2E2E2, 0xE4E4E4, 0xE5E5E5, 0xE7E7E7, 0xEBEBEB, 0xEEEEEE, 0xF1F1F1, 0xF4F4F4});
    ExpectRows("BUTTON_BACKGROUND_B",
               {0xC2E3FA, 0xB3D6F2, 0xA3C8EA, 0x96BDE5, 0x91BBE4, 0x8FBAE7, 0x90BCEA, 0x91BEED, 0x90BFF0,
                0x6BA8E5, 0x6DAAE8, 0x71AEEC, 0x77B4F2, 0x80BBF7, 0x8CC4FB, 0x9ACFFD, 0xABDCFD, 0xBDE9FD});
    ExpectRows("PAGECONTROLBACKGROUND", std::vector<uint32_t>(21, 0xE7EEF8));
}

// The caption glyphs sit on the bar's own colours and carry white; the message box pictures are on white.
TEST(Resources, GlyphsBlendIntoTheBarAndBoxPicturesAreOnWhite)
{
    for (int id = 8001; id <= 8006; ++id) {
        SCOPED_TRACE(id);
        std::vector<uint32_t> pixels = Pixels(LoadBitmapResource(MAKEINTRESOURCEA(id)).get());
        EXPECT_TRUE(Contains(kBarRows, pixels.front())) << std::hex << pixels.front();
        EXPECT_TRUE(Contains(pixels, 0xFFFFFF));
    }
    for (const char* name : {"DLG_ICONERROREX", "DLG_ICONINFORMATIONEX", "DLG_ICONQUESTIONEX",
                             "DLG_ICONWARNINGEX", "HINTINFO", "HINTLINE", "LOGO"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(0xFFFFFFu, Pixels(LoadBitmapResource(name).get()).front());
    }
    std::vector<uint32_t> rule = Pixels(LoadBitmapResource("HINTLINE").get());
    EXPECT_EQ(0xDAE2EFu, rule[8 * 283 + 141]);  // darkest in the middle of the bottom row
    EXPECT_GT(rule[8 * 283 + 1], rule[8 * 283 + 70]);  // paler towards the end
    EXPECT_EQ(0xFFFFFFu, rule[7 * 283 + 141]);
}

TEST(Resources, WindowIconHas16ColourImagesAt32And16)
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(nullptr, group);
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    ASSERT_EQ(2, dir[4]);  // two images, 14-byte entries after the 6-byte header
    for (int i = 0; i < 2; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;
        EXPECT_EQ(i == 0 ? 32 : 16, entry[0]);
        EXPECT_EQ(entry[0], entry[1]);
        EXPECT_EQ(16, entry[2]);  // colours
        EXPECT_EQ(4, entry[6]);   // bits per pixel
    }
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
        ASSERT_NE(nullptr, icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        Bitmap colour(info.hbmColor), mask(info.hbmMask);
        EXPECT_EQ(size, Info(colour.get()).bmWidth);
        EXPECT_EQ(size, Info(colour.get()).bmHeight);
        DestroyIcon(icon);
    }
}

namespace {

// version.dll is not among the test program's import libraries; its three functions are looked up.
class VersionInfo {
public:
    explicit VersionInfo(const std::string& path) : FLibrary(LoadLibraryA("version.dll"))
    {
        if (!FLibrary) return;
        auto size = Proc<DWORD(WINAPI*)(LPCSTR, LPDWORD)>("GetFileVersionInfoSizeA");
        auto read = Proc<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoA");
        FQuery = Proc<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>("VerQueryValueA");
        DWORD handle = 0;
        FBlock.resize(size(path.c_str(), &handle));
        if (FBlock.empty() || !read(path.c_str(), 0, static_cast<DWORD>(FBlock.size()), FBlock.data()))
            FBlock.clear();
    }
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;
    ~VersionInfo()
    {
        if (FLibrary) FreeLibrary(FLibrary);
    }

    bool Loaded() const { return !FBlock.empty(); }

    const void* Value(const std::string& path, UINT* length) const
    {
        void* value = nullptr;
        return FQuery(FBlock.data(), path.c_str(), &value, length) ? value : nullptr;
    }

    std::string Text(const char* name) const
    {
        UINT length = 0;
        const void* value = Value(std::string("\\StringFileInfo\\080403A8\\") + name, &length);
        return value ? std::string(static_cast<const char*>(value)) : "(missing)";
    }

private:
    template <typename F>
    F Proc(const char* name) const
    {
        return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(FLibrary, name)));
    }

    HMODULE FLibrary;
    BOOL(WINAPI* FQuery)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;
    std::vector<char> FBlock;
};

}  // namespace

TEST(Resources, VersionTextsReadBackInTheChineseCodePage)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    VersionInfo version(path);
    ASSERT_TRUE(version.Loaded());
    EXPECT_EQ("Quintaro卸载", version.Text("FileDescription"));
    EXPECT_EQ(12u, version.Text("FileDescription").size());  // 8 ASCII + 2 GBK characters
    EXPECT_EQ("Corvane", version.Text("CompanyName"));
    EXPECT_EQ("Quintaro", version.Text("ProductName"));
    EXPECT_EQ("Uninstall.exe", version.Text("OriginalFilename"));
    EXPECT_EQ("1.0.0.0", version.Text("FileVersion"));

    UINT length = 0;
    auto translation = static_cast<const WORD*>(version.Value("\\VarFileInfo\\Translation", &length));
    ASSERT_NE(nullptr, translation);
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0804, translation[0]);
    EXPECT_EQ(936, translation[1]);

    auto fixed = static_cast<const VS_FIXEDFILEINFO*>(version.Value("\\", &length));
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
}
