// How the input line's lists and drops grow: the cost of one message to a
// plain and to a wrapped combo box, the time to add, tag and select by tag in
// lists of 1k, 10k and 30k items (indexes stop at 32767), and to take a drop
// of as many files on txt and mem through the platform's drag loop. Prints a
// table; built with the tests but not run by ctest (scripts/bench.sh runs it).
#include "ComboBox.h"
#include "DropTestSupport.h"
#include "Form.h"
#include "LineTestSupport.h"
#include "VxLineIn.h"
#include "Win32Holders.h"

#include <ole2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Microseconds per CB_GETITEMDATA sent to combo, the median of five rounds.
double MicrosecondsPerMessage(HWND combo) {
    constexpr int kMessages = 20000;
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round)
        rounds.push_back(Milliseconds([&] {
                             for (int i = 0; i < kMessages; ++i)
                                 SendMessageW(combo, CB_GETITEMDATA, 0, 0);
                         }) *
                         1000 / kMessages);
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

// The least any wrapper costs: a window procedure that passes every message
// on to the combo box's own, through CallWindowProcW as it must.
WNDPROC comboProc = nullptr;
LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(comboProc, hwnd, msg, wParam, lParam);
}

HWND NewPlainCombo(HWND parent) {
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWN, 0, 0, 100, 100, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (combo)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Eintrag"));
    return combo;
}

void BenchMessageCost(host::Form& form) {
    HWND plain = NewPlainCombo(form.hwnd());
    HWND passOn = NewPlainCombo(form.hwnd());
    auto wrapped = host::ComboBox::Create({form.hwnd()});
    if (!plain || !passOn || !wrapped)
        return;
    comboProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(passOn, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PassOn)));
    wrapped->addItem(L"Eintrag");
    const double plainCost = MicrosecondsPerMessage(plain);
    const double passOnCost = MicrosecondsPerMessage(passOn);
    const double wrappedCost = MicrosecondsPerMessage(wrapped->hwnd());
    std::printf(
        "message to a combo box: plain %.3f us, wrapped %.3f us, passed on by a bare window procedure "
        "%.3f us\n",
        plainCost, wrappedCost, passOnCost);
    DestroyWindow(passOn);
    DestroyWindow(plain);
}

void BenchLists(host::Form& form, int n) {
    auto line = NewPlacedLine(form, {}, 1);
    if (!line)
        return;
    const double add = Milliseconds([&] {
        for (int i = 0; i < n; ++i)
            line->AddItem(L"Eintrag " + std::to_wstring(i));
    });
    const double tag = Milliseconds([&] {
        for (int i = 0; i < n; ++i)
            line->SetItemTag(i, L"Kennung " + std::to_wstring(i));
    });
    const std::wstring last = L"KENNUNG " + std::to_wstring(n - 1);
    const double select = Milliseconds([&] { line->SelectByItemTag(last); });
    const bool selected = line->ListIndex() == n - 1;
    const double focus = Milliseconds([&] {
        line->ListFocusItemTag(L"Kennung 0");
        line->ListFocusItemTag(L"Kennung " + std::to_wstring(n - 1));
    });
    std::printf("%6d items  AddItem %8.1f ms (%6.3f ms/1k)  ItemTag %8.1f ms (%6.3f ms/1k)  "
                "SelectByItemTag(last) %7.2f ms%s  ListFocusItemTag(first, last) %7.2f ms%s\n",
                n, add, add * 1000 / n, tag, tag * 1000 / n, select, selected ? "" : " (NOT FOUND)", focus,
                line->ListIndex() == n - 1 ? "" : " (NOT FOUND)");
}

void BenchDrop(host::Form& form, int n) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < n; ++i)
        paths.push_back(L"C:\\Daten\\Unterordner\\Datei " + std::to_wstring(i) + L".txt");
    const win32::ComPtr<IDataObject> data(droptest::NewFileListObject(paths));
    if (!data)
        return;
    for (int style : {0, 2}) {
        auto line = NewPlacedLine(form, {}, style);
        if (!line)
            continue;
        line->SetAllowDDMultiFiles(true);
        SetForegroundWindow(form.hwnd());
        HWND target = line->ChildNamed(style == 0 ? L"txt" : L"mem")->hwnd();
        // The drag loop itself polls on a timer; its rounds are part of the time.
        const double drop = Milliseconds([&] { droptest::DragAndDrop(target, data.get()); });
        std::printf("%6d files dropped on %s: %8.1f ms, text of %zu characters\n", n,
                    style == 0 ? "txt" : "mem", drop, line->Text().size());
    }
}

} // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) {
        std::printf("OLE could not be initialised\n");
        return 1;
    }
    {
        auto form = host::Form::Create({L"VxLineIn bench", 9000, 6000});
        if (!form)
            return 1;
        form->show();
        BenchMessageCost(*form);
        for (int n : {1000, 10000, 30000})
            BenchLists(*form, n);
        for (int n : {1000, 10000, 30000})
            BenchDrop(*form, n);
    }
    OleUninitialize();
    return 0;
}
