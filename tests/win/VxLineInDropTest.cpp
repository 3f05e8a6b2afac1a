// Files dropped onto the input line's field, delivered by the platform's own
// drag and drop loop to the drop targets the control registered for txt,
// txi, mem and anz: what each child takes over, and which Change events the
// host sees.
#include "ComApartment.h"
#include "DropTestSupport.h"
#include "Form.h"
#include "LineTestSupport.h"
#include "TempFolder.h"
#include "VxLineIn.h"
#include "Win32Holders.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>

#include <string>
#include <vector>

namespace {

// A data object made for one drag, released at the end of the scope.
using DataRef = win32::ComPtr<IDataObject>;

class VxLineInDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com.Ok());
        form = host::Form::Create({L"VxLineIn drop test", 9000, 6000});
        ASSERT_NE(form, nullptr);
        form->show();
        line = NewPlacedLine(*form);
        ASSERT_NE(line, nullptr);
        // Change and Click only: the cursor moving onto the field raises mouse events.
        RecordEvents(*line, {VxEvent::Change, VxEvent::Click}, events);
        PumpMessages();
    }

    // Shows the line in style and brings the form to the front, so the
    // drop lands on the child under the cursor.
    void UseStyle(int style) {
        line->SetControlStyle(style);
        SetForegroundWindow(form->hwnd());
        PumpMessages();
        events.clear();
    }

    droptest::DragResult DropFiles(const wchar_t* child, const std::vector<std::wstring>& paths,
                                   DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
        const DataRef data(droptest::NewFileListObject(paths));
        EXPECT_NE(data.get(), nullptr);
        const droptest::DragResult result =
            droptest::DragAndDrop(line->ChildNamed(child)->hwnd(), data.get(), allowed);
        PumpMessages();
        return result;
    }

    std::wstring TextOf(const wchar_t* child) {
        HWND window = line->ChildNamed(child)->hwnd();
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // Declared first so that the line and its form go before OLE does, and
    // the recording outlives the line.
    ComApartment com;
    EventList events;
    std::unique_ptr<host::Form> form;
    std::unique_ptr<VxLineIn> line;
    const std::wstring a = L"C:\\Daten\\a.txt";
    const std::wstring b = L"C:\\Daten\\b b.txt";
    const std::wstring c = L"D:\\\u00dcbersicht\\c.txt";
};

TEST_F(VxLineInDropTest, OneFileOnTxtBecomesTheTextWithOneChange) {
    UseStyle(0);
    const droptest::DragResult result = DropFiles(L"txt", {a});
    EXPECT_EQ(result.hr, DRAGDROP_S_DROP);
    EXPECT_EQ(result.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(line->Text(), a);
    EXPECT_EQ(events, (EventList{VxEvent::Change}));
}

TEST_F(VxLineInDropTest, SeveralFilesOnTxtFollowAllowDDMultiFiles) {
    UseStyle(0);
    DropFiles(L"txt", {a, b, c});
    EXPECT_EQ(line->Text(), a);

    line->SetAllowDDMultiFiles(true);
    events.clear();
    DropFiles(L"txt", {a, b, c});
    EXPECT_EQ(line->Text(), a + L"; " + b + L"; " + c);
    EXPECT_EQ(events, (EventList{VxEvent::Change}));
}

TEST_F(VxLineInDropTest, MemTakesEveryPathOnItsOwnLine) {
    UseStyle(2);
    DropFiles(L"mem", {a});
    EXPECT_EQ(line->Text(), a + L"\r\n");
    DropFiles(L"mem", {b, c});
    EXPECT_EQ(line->Text(), b + L"\r\n" + c + L"\r\n");
    EXPECT_EQ(events, (EventList{VxEvent::Change, VxEvent::Change}));
}

TEST_F(VxLineInDropTest, MemAppendsDropsWithAppendOleDDFiles) {
    UseStyle(2);
    line->SetAppendOleDDFiles(true);
    DropFiles(L"mem", {a});
    DropFiles(L"mem", {b});
    EXPECT_EQ(line->Text(), a + L"\r\n" + b + L"\r\n");

    // No separator is put in front: a last line without a break goes on.
    line->SetTextSilent(L"Notiz");
    DropFiles(L"mem", {c});
    EXPECT_EQ(line->Text(), L"Notiz" + c + L"\r\n");
}

TEST_F(VxLineInDropTest, TxiAndAnzTakeTheFirstPath) {
    UseStyle(4);
    DropFiles(L"txi", {a, b});
    EXPECT_EQ(line->Text(), a);
    EXPECT_EQ(events, (EventList{VxEvent::Change}));

    UseStyle(3);
    DropFiles(L"anz", {b, c});
    EXPECT_EQ(line->Text(), b);
    // The display label reports no change.
    EXPECT_TRUE(events.empty());
}

TEST_F(VxLineInDropTest, DraggedTextIsRefusedEverywhere) {
    using namespace lineinput;
    const struct {
        FieldStyle style;
        const wchar_t* child;
    } fields[] = {
        {StyleTextBox, L"txt"}, {StyleMemo, L"mem"}, {StyleDisplay, L"anz"}, {StyleInnerBox, L"txi"}};
    for (const auto& field : fields) {
        UseStyle(field.style);
        line->SetTextSilent(L"vorher");
        events.clear();
        const DataRef text(droptest::NewTextObject(L"C:\\Daten\\a.txt"));
        ASSERT_NE(text.get(), nullptr);
        const droptest::DragResult result =
            droptest::DragAndDrop(line->ChildNamed(field.child)->hwnd(), text.get());
        PumpMessages();
        EXPECT_EQ(result.effect, static_cast<DWORD>(DROPEFFECT_NONE)) << field.child;
        EXPECT_EQ(TextOf(field.child), L"vorher") << field.child;
        EXPECT_TRUE(events.empty()) << field.child;
    }
}

TEST_F(VxLineInDropTest, NoKeyFilterAppliesToDroppedText) {
    // Style 1 of the filters upper-cases typed letters; dropped paths stay.
    UseStyle(0);
    line->SetTextBoxStyle(1);
    DropFiles(L"txt", {a});
    EXPECT_EQ(line->Text(), a);
}

TEST_F(VxLineInDropTest, DropOnTxtInStyle2ChangesTxtWithoutChange) {
    UseStyle(2);
    // Only a visible window takes a drop: txt is shown over the memo for it.
    auto* txt = line->ChildNamed(L"txt");
    txt->setVisible(true);
    SetWindowPos(txt->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    events.clear();
    DropFiles(L"txt", {a});
    EXPECT_EQ(TextOf(L"txt"), a);
    EXPECT_TRUE(events.empty());
}

TEST_F(VxLineInDropTest, DroppedFolderIsTakenAsDelivered) {
    TempFolder temp;
    std::wstring folder = temp / L"Ordner";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    UseStyle(0);
    DropFiles(L"txt", {folder});
    EXPECT_EQ(line->Text(), folder);
    DropFiles(L"txt", {temp.Path()});
    EXPECT_EQ(line->Text(), temp.Path());
}

// The paths are taken whatever the source offers; the answer never asks the
// source to move (delete) its files: copy or link where offered, else none.
TEST_F(VxLineInDropTest, AnyOfferedEffectDeliversThePathsButNothingIsMoved) {
    UseStyle(0);
    const struct {
        DWORD allowed;
        DWORD answered;
    } offers[] = {
        {DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {DROPEFFECT_LINK | DROPEFFECT_MOVE, DROPEFFECT_LINK},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
    };
    for (const auto& offer : offers) {
        SCOPED_TRACE(offer.allowed);
        line->SetTextSilent(L"vorher");
        events.clear();
        const droptest::DragResult result = DropFiles(L"txt", {a}, offer.allowed);
        EXPECT_EQ(result.hr, DRAGDROP_S_DROP);
        EXPECT_EQ(result.effect, offer.answered);
        EXPECT_EQ(line->Text(), a);
        EXPECT_EQ(events, (EventList{VxEvent::Change}));
    }
}

// Whether a window still has a drop target, asked while it is destroyed.
struct DropTargetProbe {
    static constexpr UINT_PTR kId = 77;
    std::vector<bool> freeAtDestroy; // a new registration was accepted

    void Watch(HWND window) { SetWindowSubclass(window, &Proc, kId, reinterpret_cast<DWORD_PTR>(this)); }

    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR self) noexcept {
        if (msg == WM_NCDESTROY)
            RemoveWindowSubclass(window, &Proc, kId);
        if (msg != WM_DESTROY)
            return DefSubclassProc(window, msg, wParam, lParam);
        // The window's own handling first; it still exists after it.
        const LRESULT result = DefSubclassProc(window, msg, wParam, lParam);
        auto again = host::FileDropTarget::Register(window, [](const std::vector<std::wstring>&) {});
        reinterpret_cast<DropTargetProbe*>(self)->freeAtDestroy.push_back(again != nullptr);
        return result;
    }
};

// The form goes first, the line's object later (as at the program's end):
// the four registrations end with their windows, not after them.
TEST_F(VxLineInDropTest, TheDropTargetsEndWhileTheirWindowsStillExist) {
    DropTargetProbe probe;
    for (const wchar_t* child : {L"txt", L"txi", L"mem", L"anz"})
        probe.Watch(line->ChildNamed(child)->hwnd());
    ASSERT_TRUE(DestroyWindow(form->hwnd()));
    EXPECT_EQ(probe.freeAtDestroy, (std::vector<bool>{true, true, true, true}));
    line.reset();
}

std::vector<unsigned char> DropFilesBlock(bool wide, const std::string& listBytes) {
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = wide;
    std::vector<unsigned char> block(sizeof header + listBytes.size());
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, listBytes.data(), listBytes.size());
    return block;
}

std::vector<std::wstring> FilesOfBlock(const std::vector<unsigned char>& block) {
    const DataRef data(droptest::NewFileListObjectFromBlock(block));
    EXPECT_NE(data.get(), nullptr);
    return data.get() ? host::FileDropTarget::FilesOf(data.get()) : std::vector<std::wstring>{};
}

TEST(FileDropTargetTest, FilesOfReadsFileListsOnly) {
    const DataRef list(droptest::NewFileListObject({L"C:\\a", L"D:\\\u00e4\\b"}));
    const DataRef text(droptest::NewTextObject(L"C:\\a"));
    ASSERT_NE(list.get(), nullptr);
    ASSERT_NE(text.get(), nullptr);
    EXPECT_EQ(host::FileDropTarget::FilesOf(list.get()),
              (std::vector<std::wstring>{L"C:\\a", L"D:\\\u00e4\\b"}));
    EXPECT_TRUE(host::FileDropTarget::FilesOf(text.get()).empty());
    EXPECT_TRUE(host::FileDropTarget::FilesOf(nullptr).empty());
}

TEST(FileDropTargetTest, FilesOfReadsAnsiListsAndSurvivesBrokenBlocks) {
    // An ANSI list (Windows-1252 here: 0xE4 is a-umlaut).
    EXPECT_EQ(FilesOfBlock(DropFilesBlock(false, std::string("C:\\x\0C:\\\xe4\0\0", 11))),
              (std::vector<std::wstring>{L"C:\\x", L"C:\\\u00e4"}));
    // A list cut off without its terminator keeps what ended properly.
    EXPECT_EQ(FilesOfBlock(DropFilesBlock(false, std::string("C:\\x\0C:\\y", 9))),
              (std::vector<std::wstring>{L"C:\\x"}));
    // A wide list at an odd offset (the bytes of L"C:\\w\0\0" after one pad byte).
    std::vector<unsigned char> odd = DropFilesBlock(true, std::string("\0C\0:\0\\\0w\0\0\0\0\0", 13));
    reinterpret_cast<DROPFILES*>(odd.data())->pFiles = sizeof(DROPFILES) + 1;
    EXPECT_EQ(FilesOfBlock(odd), (std::vector<std::wstring>{L"C:\\w"}));
    // An offset beyond the block, or a block shorter than its header.
    std::vector<unsigned char> outside = DropFilesBlock(true, std::string(4, '\0'));
    reinterpret_cast<DROPFILES*>(outside.data())->pFiles = 4096;
    EXPECT_TRUE(FilesOfBlock(outside).empty());
    EXPECT_TRUE(FilesOfBlock(std::vector<unsigned char>(4, 0)).empty());
}

// A thread that never initialised OLE: the registration is refused there,
// and the window takes no drops.
DWORD WINAPI RegisterWithoutOle(void* registered) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    *static_cast<int*>(registered) =
        host::FileDropTarget::Register(window, [](const std::vector<std::wstring>&) {}) != nullptr ? 1 : 0;
    DestroyWindow(window);
    return 0;
}

TEST(FileDropTargetTest, RegistrationNeedsOle) {
    int registered = -1;
    HANDLE thread = CreateThread(nullptr, 0, &RegisterWithoutOle, &registered, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(registered, 0);
}

} // namespace
