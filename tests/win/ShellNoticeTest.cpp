// The shell hears of every folder link made, repaired and removed: a
// window registered for the shell's change notices over a temporary folder
// records them while the folder-link operations run on real folders.
#include "ComApartment.h"
#include "L_SHTCUT.h"
#include "MessagePump.h"
#include "SyncRecord.h"
#include "TempFolder.h"
#include "Win32Holders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT NoticeMessage = WM_APP + 1;

struct Notice {
    LONG event;
    std::wstring path;
    bool operator==(const Notice&) const = default;
};

void PrintTo(const Notice& notice, std::ostream* out) {
    *out << std::hex << notice.event << " " << testing::PrintToString(notice.path);
}

std::vector<Notice> received;

LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message != NoticeMessage)
        return DefWindowProcW(window, message, wParam, lParam);
    const auto* items = reinterpret_cast<PCIDLIST_ABSOLUTE const*>(wParam);
    wchar_t path[MAX_PATH] = {};
    if (items && items[0])
        SHGetPathFromIDListW(items[0], path);
    received.push_back({static_cast<LONG>(lParam), path});
    return 0;
}

// A window that hears every folder notice under folder for as long as it lives.
class NoticeListener {
public:
    explicit NoticeListener(const std::wstring& folder) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = NoticeWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ShellNoticeTest";
        RegisterClassW(&windowClass);
        window_ = CreateWindowW(L"ShellNoticeTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        const win32::TaskMemory<ITEMIDLIST_ABSOLUTE> item(ILCreateFromPathW(folder.c_str()));
        SHChangeNotifyEntry entry{item.get(), TRUE};
        registration_ =
            SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel,
                                   SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_UPDATEDIR, NoticeMessage, 1, &entry);
        received.clear();
    }
    ~NoticeListener() {
        SHChangeNotifyDeregister(registration_);
        DestroyWindow(window_);
    }
    bool Ok() const { return window_ && registration_; }

    std::vector<Notice> Take() {
        PumpMessages();
        return std::exchange(received, {});
    }

private:
    HWND window_ = nullptr;
    ULONG registration_ = 0;
};

std::wstring WithoutSeparator(std::wstring folder) {
    folder.pop_back();
    return folder;
}

} // namespace

TEST(ShellNotice, EachChangeOfAFolderLinkIsAnnounced) {
    ComApartment com;
    TempFolder tmp;
    NoticeListener listener(WithoutSeparator(tmp.Path()));
    ASSERT_TRUE(listener.Ok());
    const std::wstring outer = tmp / L"Neu";
    const std::wstring link = tmp / L"Neu\\Link";
    const auto source = ShellLinkFile::ClassifySource(L"\\\\srv\\share\\docs");
    ASSERT_TRUE(source);

    // Expected notices, by step: the folders a create makes, else the folder it changed.
    const std::vector<Notice> created = {{SHCNE_MKDIR, outer}, {SHCNE_MKDIR, link}};
    const std::vector<Notice> changed = {{SHCNE_UPDATEDIR, link}};

    ASSERT_TRUE(L_SHTCUT::CreateFolderLink(*source, link));
    EXPECT_EQ(listener.Take(), created);

    ASSERT_TRUE(SetFileAttributesW((link + L"\\desktop.ini").c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(L_SHTCUT::RepairFolderLink(link, true).whole());
    EXPECT_EQ(listener.Take(), std::vector<Notice>{}) << "a dry run changes nothing";
    ASSERT_EQ(L_SHTCUT::RepairFolderLink(link, false).changes.size(), 1u);
    EXPECT_EQ(listener.Take(), changed);
    ASSERT_TRUE(L_SHTCUT::RepairFolderLink(link, false).changes.empty());
    EXPECT_EQ(listener.Take(), std::vector<Notice>{}) << "a whole link is not touched";

    ASSERT_TRUE(L_SHTCUT::RemoveFolderLink(link).removed);
    EXPECT_EQ(listener.Take(), changed);

    ASSERT_TRUE(L_SHTCUT::CreateFolderLink(*source, link));
    EXPECT_EQ(listener.Take(), changed);

    // A sync that makes another link and prunes this one deletes its folder.
    const std::wstring other = tmp / L"Neu\\Anderer";
    std::vector<L_SHTCUT::SyncStep> steps;
    L_SHTCUT::SyncFolderLinks(outer + L"\\", {{1, L"\\\\srv\\b", L"Anderer", {}}}, {.prune = true},
                              [&](const L_SHTCUT::SyncStep& step) { steps.push_back(step); });
    ASSERT_EQ(steps.size(), 2u);
    const std::vector<Notice> synced = {{SHCNE_MKDIR, other}, {SHCNE_UPDATEDIR, link}, {SHCNE_RMDIR, link}};
    EXPECT_EQ(listener.Take(), synced);
    EXPECT_TRUE(L_SHTCUT::RecordSyncLinks(outer + L"\\", {}));
}
