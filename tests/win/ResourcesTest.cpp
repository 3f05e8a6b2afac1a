// The program's resources as the running program finds them: the fifteen
// button pictures, the window icon with its nine images, the manifest and
// the version information, all of them German.
// The last test shows all of them enlarged in a real window and saves a
// picture of it beside the test program for a person to look at.
#include "ComApartment.h"
#include "MessagePump.h"
#include "ScreenCapture.h"
#include "resource.h"
#include "version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF kMaskColour = RGB(192, 192, 192);

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

Bitmap LoadPicture(int id) {
    return Bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The bytes of one resource of this program; empty when it is not there.
std::string ResourceBytes(const wchar_t* name, const wchar_t* type) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, name, type);
    if (!found)
        return {};
    const HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

#pragma pack(push, 2)
// One image of an icon group as the resource compiler stores it.
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

std::vector<GroupIconEntry> IconGroupEntries(const std::string& group) {
    std::vector<GroupIconEntry> entries;
    GroupIconHeader header{};
    if (group.size() < sizeof header)
        return entries;
    std::memcpy(&header, group.data(), sizeof header);
    for (WORD i = 0; i < header.count; ++i) {
        const size_t offset = sizeof header + i * sizeof(GroupIconEntry);
        if (offset + sizeof(GroupIconEntry) > group.size())
            break;
        GroupIconEntry entry{};
        std::memcpy(&entry, group.data() + offset, sizeof entry);
        entries.push_back(entry);
    }
    return entries;
}

Icon IconFromImage(const std::string& image, int size) {
    auto* bytes = reinterpret_cast<PBYTE>(const_cast<char*>(image.data()));
    return Icon(CreateIconFromResourceEx(bytes, static_cast<DWORD>(image.size()), TRUE, 0x00030000, size,
                                         size, LR_DEFAULTCOLOR));
}

// What each picture must show at least, so that two pictures exchanged or a
// wrong palette is noticed.
struct PictureColour {
    int id;
    COLORREF colour;
};
constexpr std::array kPictureColours{
    PictureColour{IDB_PICTURE_FOLDER, RGB(255, 255, 0)},
    PictureColour{IDB_PICTURE_PAPERCLIP, RGB(128, 128, 128)},
    PictureColour{IDB_PICTURE_SHEET, RGB(255, 255, 255)},
    PictureColour{IDB_PICTURE_CLIPBOARD, RGB(0x99, 0x66, 0x33)},
    PictureColour{IDB_PICTURE_MAIL, RGB(0, 0, 255)},
    PictureColour{IDB_PICTURE_FOLDER_SEARCH, RGB(255, 255, 0)},
    PictureColour{IDB_PICTURE_BROWSER, RGB(0, 0x60, 255)},
    PictureColour{IDB_PICTURE_CROSS_RED, RGB(255, 0, 0)},
    PictureColour{IDB_PICTURE_FLOPPY, RGB(0, 0, 255)},
    PictureColour{IDB_PICTURE_MAGNIFIER, RGB(0xC0, 255, 255)},
    PictureColour{IDB_PICTURE_PLUG, RGB(0, 0, 255)},
    PictureColour{IDB_PICTURE_CROSS_GREY, RGB(128, 128, 128)},
};

} // namespace

TEST(ButtonPictures, EachIsSixteenBySixteenOnTheMaskColour) {
    for (int id = IDB_PICTURE_BASE + 1; id <= IDB_PICTURE_BASE + IDB_PICTURE_COUNT; ++id) {
        SCOPED_TRACE(id);
        const Bitmap picture = LoadPicture(id);
        ASSERT_TRUE(picture);
        const Pixels pixels = ReadPixels(picture.get());
        ASSERT_EQ(pixels.width, 16);
        ASSERT_EQ(pixels.height, 16);
        EXPECT_EQ(pixels.At(0, 0), kMaskColour);
        EXPECT_EQ(pixels.At(15, 0), kMaskColour);
        EXPECT_EQ(pixels.At(0, 15), kMaskColour);
        EXPECT_EQ(pixels.At(15, 15), kMaskColour);
        const auto drawn = std::count_if(pixels.colours.begin(), pixels.colours.end(),
                                         [](COLORREF colour) { return colour != kMaskColour; });
        EXPECT_GE(drawn, 12);
    }
}

TEST(ButtonPictures, OnlyNumbersOneToFifteenExist) {
    EXPECT_EQ(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICTURE_BASE), RT_BITMAP),
              nullptr);
    EXPECT_EQ(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICTURE_BASE + 16), RT_BITMAP),
              nullptr);
}

TEST(ButtonPictures, ShowTheirColours) {
    for (const PictureColour& expected : kPictureColours) {
        SCOPED_TRACE(expected.id);
        const Bitmap picture = LoadPicture(expected.id);
        ASSERT_TRUE(picture);
        const Pixels pixels = ReadPixels(picture.get());
        EXPECT_NE(std::find(pixels.colours.begin(), pixels.colours.end(), expected.colour),
                  pixels.colours.end());
    }
    // The dots, the exclamation mark and the notes are plain black.
    for (const int id : {IDB_PICTURE_ELLIPSIS, IDB_PICTURE_EXCLAMATION, IDB_PICTURE_NOTES}) {
        SCOPED_TRACE(id);
        const Bitmap picture = LoadPicture(id);
        ASSERT_TRUE(picture);
        const Pixels pixels = ReadPixels(picture.get());
        EXPECT_TRUE(std::all_of(pixels.colours.begin(), pixels.colours.end(), [](COLORREF colour) {
            return colour == kMaskColour || colour == RGB(0, 0, 0);
        }));
    }
    // The grey cross carries no colour at all.
    const Bitmap grey = LoadPicture(IDB_PICTURE_CROSS_GREY);
    ASSERT_TRUE(grey);
    const Pixels pixels = ReadPixels(grey.get());
    EXPECT_TRUE(std::all_of(pixels.colours.begin(), pixels.colours.end(), [](COLORREF colour) {
        return GetRValue(colour) == GetGValue(colour) && GetGValue(colour) == GetBValue(colour);
    }));
}

TEST(WindowIcon, GroupHoldsThreeSizesInThreeColourDepths) {
    const std::string group = ResourceBytes(MAKEINTRESOURCEW(IDI_ORDNERLINK), RT_GROUP_ICON);
    ASSERT_FALSE(group.empty());
    const std::vector<GroupIconEntry> entries = IconGroupEntries(group);
    std::set<std::pair<int, int>> found;
    for (const GroupIconEntry& entry : entries) {
        const int size = entry.width;
        SCOPED_TRACE(testing::Message() << size << " pixels, " << entry.bitCount << " bits");
        found.emplace(size, entry.bitCount);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.colourCount, entry.bitCount == 4 ? 16 : 0);

        const std::string image = ResourceBytes(MAKEINTRESOURCEW(entry.id), RT_ICON);
        ASSERT_EQ(image.size(), entry.bytesInResource);
        BITMAPINFOHEADER header{};
        ASSERT_GE(image.size(), sizeof header);
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size); // the colour image and the AND mask
        EXPECT_EQ(header.biBitCount, entry.bitCount);

        // The AND mask: its first row is the bottom row of the picture; the
        // corner is transparent and the middle is not.
        const size_t maskStride = ((size + 31) / 32) * 4;
        const size_t mask = image.size() - maskStride * size;
        const auto maskBit = [&](int x, int y) {
            const auto byte = static_cast<unsigned char>(image[mask + (size - 1 - y) * maskStride + x / 8]);
            return (byte >> (7 - x % 8)) & 1;
        };
        EXPECT_EQ(maskBit(size - 1, 0), 1);
        EXPECT_EQ(maskBit(size / 2, size / 2), 0);

        const Icon icon = IconFromImage(image, size);
        EXPECT_TRUE(icon);
    }
    const std::set<std::pair<int, int>> expected{{16, 4},  {16, 8}, {16, 32}, {32, 4}, {32, 8},
                                                 {32, 32}, {48, 4}, {48, 8},  {48, 32}};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(entries.size(), 9u);
}

TEST(WindowIcon, ThirtyTwoBitImagesCarryAlpha) {
    const std::string group = ResourceBytes(MAKEINTRESOURCEW(IDI_ORDNERLINK), RT_GROUP_ICON);
    for (const GroupIconEntry& entry : IconGroupEntries(group)) {
        if (entry.bitCount != 32)
            continue;
        SCOPED_TRACE(static_cast<int>(entry.width));
        const std::string image = ResourceBytes(MAKEINTRESOURCEW(entry.id), RT_ICON);
        const size_t pixelCount = static_cast<size_t>(entry.width) * entry.width;
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER) + pixelCount * 4);
        std::set<int> alphas;
        for (size_t i = 0; i < pixelCount; ++i)
            alphas.insert(static_cast<unsigned char>(image[sizeof(BITMAPINFOHEADER) + i * 4 + 3]));
        EXPECT_TRUE(alphas.count(0));
        EXPECT_TRUE(alphas.count(255));
    }
}

TEST(WindowIcon, SystemFindsEachSize) {
    std::string group = ResourceBytes(MAKEINTRESOURCEW(IDI_ORDNERLINK), RT_GROUP_ICON);
    ASSERT_FALSE(group.empty());
    const std::vector<GroupIconEntry> entries = IconGroupEntries(group);
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(group.data()), TRUE, size, size,
                                                   LR_DEFAULTCOLOR);
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [id](const GroupIconEntry& e) { return e.id == id; });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->width, size);

        const Icon icon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ORDNERLINK),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        ASSERT_TRUE(icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        const Bitmap colour(info.hbmColor);
        const Bitmap mask(info.hbmMask);
        BITMAP bitmap{};
        ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof bitmap, &bitmap));
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
    }
}

TEST(Manifest, AsksForCommonControlsVersionSix) {
    const std::string manifest = ResourceBytes(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Ordnerlink\" version=\"" ORDNERLINK_VERSION_TEXT ".0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"),
              std::string::npos);
    // The program keeps the system's ANSI code page and its default scaling.
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}

TEST(Manifest, ProgramGetsCommonControlsVersionSix) {
    // The system read the manifest when it started the program: the program's
    // activation context sends comctl32.dll to the version 6 assembly.
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof redirection;
    ASSERT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &redirection));
    const std::unique_ptr<void, decltype(&ReleaseActCtx)> context(redirection.hActCtx, &ReleaseActCtx);
    SIZE_T cbNeeded = 0;
    QueryActCtxW(0, redirection.hActCtx, &redirection.ulAssemblyRosterIndex,
                 AssemblyDetailedInformationInActivationContext, nullptr, 0, &cbNeeded);
    ASSERT_GT(cbNeeded, 0u);
    std::vector<ULONGLONG> buffer((cbNeeded + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
    ASSERT_TRUE(QueryActCtxW(0, redirection.hActCtx, &redirection.ulAssemblyRosterIndex,
                             AssemblyDetailedInformationInActivationContext, buffer.data(),
                             buffer.size() * sizeof(ULONGLONG), &cbNeeded));
    const auto* assembly =
        reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    const std::wstring identity(assembly->lpAssemblyEncodedAssemblyIdentity,
                                assembly->ulEncodedAssemblyIdentityLength / sizeof(wchar_t));
    // For example: Microsoft.Windows.Common-Controls,...,version="6.0.2600.2982"
    EXPECT_EQ(identity.rfind(L"Microsoft.Windows.Common-Controls,", 0), 0u) << identity;
    EXPECT_NE(identity.find(L"version=\"6."), std::wstring::npos) << identity;
}

namespace {

constexpr LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<LANGID>*>(languages)->push_back(language);
    return TRUE;
}

// The languages in which this program holds one resource.
std::vector<LANGID> ResourceLanguages(const wchar_t* type, const wchar_t* name) {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(GetModuleHandleW(nullptr), type, name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// One text of the version information's German Unicode block; empty when it
// is not there.
std::wstring VersionText(std::vector<BYTE>& info, const std::wstring& name) {
    const std::wstring path = L"\\StringFileInfo\\040704B0\\" + name;
    void* value = nullptr;
    UINT cchValue = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &cchValue) || !value)
        return {};
    return std::wstring(static_cast<const wchar_t*>(value),
                        wcsnlen(static_cast<const wchar_t*>(value), cchValue));
}

} // namespace

TEST(Resources, AreAllGerman) {
    const std::vector<LANGID> german{kGerman};
    EXPECT_EQ(ResourceLanguages(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_ORDNERLINK)), german);
    for (int id = IDB_PICTURE_BASE + 1; id <= IDB_PICTURE_BASE + IDB_PICTURE_COUNT; ++id)
        EXPECT_EQ(ResourceLanguages(RT_BITMAP, MAKEINTRESOURCEW(id)), german) << id;
    EXPECT_EQ(ResourceLanguages(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID), german);
    EXPECT_EQ(ResourceLanguages(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)), german);
}

TEST(VersionInformation, NamesProductVersionAndPurposeButNoCompany) {
    wchar_t program[MAX_PATH]{};
    const DWORD cchProgram = GetModuleFileNameW(nullptr, program, MAX_PATH);
    ASSERT_TRUE(cchProgram > 0 && cchProgram < MAX_PATH);
    DWORD unused = 0;
    const DWORD cbInfo = GetFileVersionInfoSizeW(program, &unused);
    ASSERT_GT(cbInfo, 0u);
    std::vector<BYTE> info(cbInfo);
    ASSERT_TRUE(GetFileVersionInfoW(program, 0, cbInfo, info.data()));

    void* value = nullptr;
    UINT cbValue = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &cbValue));
    ASSERT_EQ(cbValue, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const DWORD versionHigh = MAKELONG(ORDNERLINK_VERSION_MINOR, ORDNERLINK_VERSION_MAJOR);
    const DWORD versionLow = MAKELONG(0, ORDNERLINK_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, versionHigh);
    EXPECT_EQ(fixed->dwFileVersionLS, versionLow);
    EXPECT_EQ(fixed->dwProductVersionMS, versionHigh);
    EXPECT_EQ(fixed->dwProductVersionLS, versionLow);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &cbValue));
    ASSERT_EQ(cbValue, 2 * sizeof(WORD));
    EXPECT_EQ(static_cast<const WORD*>(value)[0], kGerman);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200); // UTF-16

    EXPECT_EQ(VersionText(info, L"ProductName"), L"Ordnerlink");
    EXPECT_EQ(VersionText(info, L"ProductVersion"), L"" ORDNERLINK_VERSION_TEXT);
    EXPECT_EQ(VersionText(info, L"FileVersion"), L"" ORDNERLINK_VERSION_TEXT);
    EXPECT_EQ(VersionText(info, L"FileDescription"), L"Entfernten Ordner Lokal einbinden");
    EXPECT_EQ(VersionText(info, L"CompanyName"), L"");
}

namespace {

constexpr int kZoom = 4;
constexpr int kButtonSize = 16 * kZoom + 12;
constexpr int kGap = 8;
constexpr int kButtonsPerRow = 8;
constexpr int kIconZoom = 3;

// A 24-bit bitmap to draw on. Without an alpha channel, so that the static
// control that shows it copies it as it is instead of blending it.
Bitmap Canvas(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return Bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
}

// A bitmap of the picture enlarged on the button face, its mask colour made
// transparent as a picture button shows it.
Bitmap EnlargedOnButtonFace(HBITMAP picture) {
    Bitmap result = Canvas(16 * kZoom, 16 * kZoom);
    const MemoryDc target(CreateCompatibleDC(nullptr));
    const MemoryDc source(CreateCompatibleDC(nullptr));
    if (!result || !target || !source)
        return nullptr;
    const Selection targetSelection(target.get(), result.get());
    const Selection sourceSelection(source.get(), picture);
    RECT all{0, 0, 16 * kZoom, 16 * kZoom};
    FillRect(target.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    TransparentBlt(target.get(), 0, 0, 16 * kZoom, 16 * kZoom, source.get(), 0, 0, 16, 16, kMaskColour);
    return result;
}

// The nine icon images enlarged: one row per colour depth (16, 256 colours,
// 32-bit), the sizes 48, 32 and 16 side by side.
Bitmap IconSheet(int width, int height) {
    Bitmap result = Canvas(width, height);
    const MemoryDc target(CreateCompatibleDC(nullptr));
    if (!result || !target)
        return nullptr;
    const Selection selection(target.get(), result.get());
    RECT all{0, 0, width, height};
    FillRect(target.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    const std::string group = ResourceBytes(MAKEINTRESOURCEW(IDI_ORDNERLINK), RT_GROUP_ICON);
    for (const GroupIconEntry& entry : IconGroupEntries(group)) {
        const int row = entry.bitCount == 4 ? 0 : entry.bitCount == 8 ? 1 : 2;
        const int column = entry.width == 48 ? 0 : entry.width == 32 ? 1 : 2;
        const int x = column == 0 ? 0 : column == 1 ? (48 * kIconZoom + kGap) : (80 * kIconZoom + 2 * kGap);
        const int y = row * (48 * kIconZoom + kGap);
        const Icon icon = IconFromImage(ResourceBytes(MAKEINTRESOURCEW(entry.id), RT_ICON), entry.width);
        if (icon)
            DrawIconEx(target.get(), x, y, icon.get(), entry.width * kIconZoom, entry.width * kIconZoom, 0,
                       nullptr, DI_NORMAL);
    }
    return result;
}

} // namespace

TEST(ResourcesScreenshot, PicturesOnButtonsAndIconImagesEnlarged) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"OrdnerlinkResourcesTest";
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ORDNERLINK));
    ASSERT_NE(RegisterClassW(&windowClass), 0);

    const int iconSheetWidth = 96 * kIconZoom + 2 * kGap;
    const int iconSheetHeight = 3 * 48 * kIconZoom + 2 * kGap;
    const int clientWidth = kButtonsPerRow * (kButtonSize + kGap) + kGap;
    const int clientHeight = 2 * (kButtonSize + kGap) + kGap + iconSheetHeight + kGap;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    Window window(CreateWindowExW(0, windowClass.lpszClassName, L"Ordnerlink Bilder", WS_OVERLAPPEDWINDOW, 20,
                                  20, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance, nullptr));
    ASSERT_TRUE(window);

    std::vector<Bitmap> faces;
    std::vector<HWND> buttons;
    for (int i = 0; i < IDB_PICTURE_COUNT; ++i) {
        const Bitmap picture = LoadPicture(IDB_PICTURE_BASE + 1 + i);
        ASSERT_TRUE(picture);
        faces.push_back(EnlargedOnButtonFace(picture.get()));
        ASSERT_TRUE(faces.back());
        const int x = kGap + (i % kButtonsPerRow) * (kButtonSize + kGap);
        const int y = kGap + (i / kButtonsPerRow) * (kButtonSize + kGap);
        const HWND button =
            CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_BITMAP, x, y,
                            kButtonSize, kButtonSize, window.get(), nullptr, instance, nullptr);
        ASSERT_NE(button, nullptr);
        SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(faces.back().get()));
        buttons.push_back(button);
    }
    const Bitmap sheet = IconSheet(iconSheetWidth, iconSheetHeight);
    ASSERT_TRUE(sheet);
    const HWND sheetView = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, kGap,
                                           2 * (kButtonSize + kGap) + kGap, iconSheetWidth, iconSheetHeight,
                                           window.get(), nullptr, instance, nullptr);
    ASSERT_NE(sheetView, nullptr);
    SendMessageW(sheetView, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(sheet.get()));

    ShowWindow(window.get(), SW_SHOWNORMAL);
    UpdateWindow(window.get());
    PumpMessages();

    // Each button shows its enlarged picture: the middle of the button holds
    // many pixels that are not the button face.
    const Bitmap capture = CaptureWindow(window.get(), clientWidth, clientHeight);
    ASSERT_TRUE(capture);
    const Pixels shown = ReadPixels(capture.get());
    ASSERT_EQ(shown.width, clientWidth);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(IDB_PICTURE_BASE + 1 + static_cast<int>(i));
        RECT area{};
        GetWindowRect(buttons[i], &area);
        MapWindowPoints(nullptr, window.get(), reinterpret_cast<POINT*>(&area), 2);
        const int left = (area.left + area.right) / 2 - 8 * kZoom;
        const int top = (area.top + area.bottom) / 2 - 8 * kZoom;
        int drawn = 0;
        for (int y = top; y < top + 16 * kZoom; ++y)
            for (int x = left; x < left + 16 * kZoom; ++x)
                drawn += shown.At(x, y) != face;
        EXPECT_GE(drawn, 12 * kZoom * kZoom);
    }

    const ComApartment com;
    ASSERT_TRUE(com.Ok());
    const std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(SaveAsPng(capture.get(), folder + L"resources-screenshot.png"));
    std::printf("Screenshot: %ls\n", (folder + L"resources-screenshot.png").c_str());

    window.reset();
    UnregisterClassW(windowClass.lpszClassName, instance);
}
