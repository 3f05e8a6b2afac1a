#include "ManagerWindow.h"

#include "ButtonRow.h"
#include "ErrorText.h"
#include "FolderEntries.h"
#include "FolderLinkFault.h"
#include "L_PFADE.h"
#include "LinkState.h"
#include "ManagerColumns.h"
#include "ManagerSettings.h"
#include "Quoted.h"
#include "RunningProgram.h"
#include "SameName.h"
#include "Screen.h"
#include "ShellNotify.h"
#include "SourceDialog.h"
#include "StoredFormData.h"
#include "Worker.h"
#include "resource.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <numeric>

namespace {

constexpr wchar_t kTitle[] = L"Ordnerverkn\u00FCpfungen verwalten";
constexpr wchar_t kTitleNotShown[] = L"Ordner nicht angezeigt";
constexpr unsigned kCheckTimeoutSeconds = 5;
constexpr std::size_t kMaxShownPathChars = 70;

// The layout, in pixels at 96 dots per inch.
constexpr int kMargin = 8;
constexpr int kLineHeight = 23;
constexpr int kStatusLineHeight = 17;
constexpr int kButtonHeight = 25;
constexpr int kGap = 6;
// Beside a caption in its button, both sides together: a button narrower
// than designed keeps at least that much room around its caption.
constexpr int kCaptionPadding = 16;
constexpr int kMinimumHeight = 300;

// The commands of the row's context menu.
enum MenuCommand : UINT {
    MenuOpen = 1,
    MenuCheck,
    MenuRepair,
    MenuSource,
    MenuRename,
    MenuRemove,
    MenuNew,
    MenuExport,
    MenuImport
};

std::wstring Shown(const std::wstring& path) {
    return L_PFADE::ShortenInTheMiddle(L_SHTCUT::FolderAsShown(path), kMaxShownPathChars);
}

// The folder links directly in folder (ending in "\"); failure is set, in
// German, when the folder cannot be read. Reads local files only: no
// source is asked.
std::vector<ManagerWindow::FoundLink> FindLinks(const std::wstring& folder, std::wstring& failure) {
    std::vector<ManagerWindow::FoundLink> found;
    std::uint32_t error = ERROR_SUCCESS;
    const auto names = L_SHTCUT::SubfolderNames(folder, error);
    if (!names) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
            failure = Quoted(Shown(folder)) + L" existiert nicht oder ist kein Ordner.";
        else
            failure =
                Quoted(Shown(folder)) + L" l\u00E4sst sich nicht lesen: " + L_SHTCUT::ErrorText(error) + L".";
        return found;
    }
    for (const std::wstring& name : *names) {
        const std::wstring path = folder + name;
        const L_SHTCUT::FolderLinkReading reading = L_SHTCUT::ReadFolderLink(path);
        if (reading.isFolderLink)
            found.push_back({path, reading.source, FolderLinkFault(reading)});
    }
    return found;
}

// Opens folder in Explorer as a double click there does. Explorer may look
// at the link's source before it answers: call it on a worker thread.
DWORD OpenInExplorer(const std::wstring& folder) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = L"open";
    execute.lpFile = folder.c_str();
    execute.nShow = SW_SHOWNORMAL;
    const DWORD error = ShellExecuteExW(&execute) ? ERROR_SUCCESS : GetLastError();
    if (SUCCEEDED(com))
        CoUninitialize();
    return error;
}

} // namespace

// Its own windows are drawn for the screen they are on (per-monitor
// resolution): the thread creates and runs them in that mode, and gets its
// earlier mode back when the window goes. The main window never runs in it.
class ManagerWindow::DpiAwareness {
public:
    DpiAwareness() : previous_(SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        if (!previous_) // before Windows 10 1703, and under Wine 8
            previous_ = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    ~DpiAwareness() {
        if (previous_)
            SetThreadDpiAwarenessContext(previous_);
    }
    DpiAwareness(const DpiAwareness&) = delete;
    DpiAwareness& operator=(const DpiAwareness&) = delete;

private:
    DPI_AWARENESS_CONTEXT previous_;
};

ManagerWindow::ManagerWindow() : dpiAwareness(std::make_unique<DpiAwareness>()) {}
ManagerWindow::~ManagerWindow() {
    // A window that goes with its object (one that could not be made whole)
    // finds its controls gone: nothing is stored then.
    if (form)
        form->onUnload = nullptr;
}

std::unique_ptr<ManagerWindow> ManagerWindow::Create(const std::wstring& folder) {
    std::unique_ptr<ManagerWindow> window(new ManagerWindow());
    if (!window->CreateControls())
        return nullptr;
    ManagerSettings settings = LoadManagerSettings();
    // Where it was, or where the form put it; wholly on the screen, also
    // where its size at this resolution is more than the screen holds.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window->form->hwnd(), &placement)) {
        if (settings.bounds) {
            // As large on the screen as when it was stored, at whatever
            // resolution that was.
            RECT& stored = *settings.bounds;
            stored.right = stored.left + MulDiv(stored.right - stored.left, static_cast<int>(window->dpi_),
                                                static_cast<int>(settings.boundsDpi));
            stored.bottom = stored.top + MulDiv(stored.bottom - stored.top, static_cast<int>(window->dpi_),
                                                static_cast<int>(settings.boundsDpi));
        }
        placement.rcNormalPosition = OnVisibleMonitor(settings.bounds.value_or(placement.rcNormalPosition));
        placement.flags = 0;
        placement.showCmd = SW_HIDE; // shown by Show()
        SetWindowPlacement(window->form->hwnd(), &placement);
    }
    // Widths stored before a column was added are those of the columns before it.
    for (std::size_t c = 0; c < settings.columnWidths.size() && c < kManagerColumns.size(); ++c)
        window->lstLinks->setColumnWidth(static_cast<int>(c), window->Scaled(settings.columnWidths[c]));
    if (settings.columnWidths.empty())
        window->ShareWidthAmongColumns();
    window->FillLastColumn();
    if (settings.sortColumn < ColumnCount) {
        window->sortColumn_ = settings.sortColumn;
        window->sortDescending_ = settings.sortDescending;
        window->lstLinks->setSortArrow(window->sortColumn_, !window->sortDescending_);
    }
    std::wstring shown = folder.empty() ? settings.folder : folder;
    if (shown.empty())
        shown = L_SHTCUT::NetworkShortcutsFolder().value_or(L"");
    window->ShowFolder(shown);
    return window;
}

bool ManagerWindow::CreateControls() {
    // Wide enough at the first start for the columns' widths, which share it.
    form = host::Form::Create({kTitle, 17700, 6750, true});
    if (!form)
        return false;
    form->setIcon(IDI_ORDNERLINK);
    const HWND formWindow = form->hwnd();
    txtFolder = VxLineIn::Create({formWindow, form.get()});
    lstLinks = host::ListView::Create({formWindow, kManagerColumns});
    lblEmpty = lstLinks ? host::Label::Create({lstLinks->hwnd(), L"Keine Ordnerverkn\u00FCpfungen in diesem "
                                                                 L"Ordner"})
                        : nullptr;
    lblCounts = host::Label::Create({formWindow, L""});
    lblCause = host::Label::Create({formWindow, L""});
    cmdOpen = host::CommandButton::Create({formWindow, L"\u00D6ffnen"});
    cmdCheck = host::CommandButton::Create({formWindow, L"Erneut pr\u00FCfen"});
    cmdRepair = host::CommandButton::Create({formWindow, L"Reparieren"});
    cmdSource = host::CommandButton::Create({formWindow, L"Quelle \u00E4ndern\u2026"});
    cmdRemove = host::CommandButton::Create({formWindow, L"Entfernen"});
    cmdNew = host::CommandButton::Create({formWindow, L"Neue Ordnerverkn\u00FCpfung\u2026"});
    cmdExport = host::CommandButton::Create({formWindow, L"Exportieren\u2026"});
    cmdImport = host::CommandButton::Create({formWindow, L"Importieren\u2026"});
    cmdClose = host::CommandButton::Create({formWindow, L"Schlie\u00DFen"});
    if (!txtFolder || !lstLinks || !lblEmpty || !lblCounts || !lblCause || !cmdOpen || !cmdCheck ||
        !cmdRepair || !cmdSource || !cmdRemove || !cmdNew || !cmdExport || !cmdImport || !cmdClose)
        return false;
    // A list that cannot order its columns shows them by their index.
    lstLinks->setColumnOrder(kShownColumnOrder);
    // Names and causes show an "&" as it is.
    lblCounts->setUseMnemonic(false);
    lblEmpty->setBackColor(host::kColorWindow);
    lblCause->setUseMnemonic(false);
    // The target line of the main window, with its folder button.
    txtFolder->ReadProperties(host::FindStoredBag(LoadStoredFormData(), L"txtPat"));
    txtFolder->SetCaption(L"Ordner :");
    for (host::Control* c : std::initializer_list<host::Control*>{
             lstLinks.get(), lblCounts.get(), lblCause.get(), cmdOpen.get(), cmdCheck.get(), cmdRepair.get(),
             cmdSource.get(), cmdRemove.get(), cmdNew.get(), cmdExport.get(), cmdImport.get(),
             cmdClose.get()})
        c->setVisible(true);
    form->setTabOrder({txtFolder.get(), lstLinks.get(), cmdOpen.get(), cmdCheck.get(), cmdRepair.get(),
                       cmdSource.get(), cmdRemove.get(), cmdNew.get(), cmdExport.get(), cmdImport.get(),
                       cmdClose.get()});

    txtFolder->BindEvent(VxEvent::KeyPress, [this](int, VxLineInEventArgs& args) {
        if (*args.KeyAscii == 13) {
            *args.KeyAscii = 0;
            ShowFolder(txtFolder->Text());
        }
    });
    txtFolder->BindEvent(VxEvent::AfterButtonClicked, [this](int, VxLineInEventArgs&) {
        if (L_PFADE::AddBackslash(txtFolder->Text()) != folder_)
            ShowFolder(txtFolder->Text());
    });
    lstLinks->onDblClick = [this] { OpenSelected(); };
    lstLinks->onKeyDown = [this](std::int16_t& keyCode, std::int16_t& shift) {
        List_KeyDown(keyCode, shift);
    };
    lstLinks->onContextMenu = [this](int x, int y) { ShowContextMenu(x, y); };
    lstLinks->onSelectionChange = [this] { ShowSelectedCause(); };
    lstLinks->onNameEdited = [this](int row, const std::wstring& name) {
        // Once the list has ended its editing: a question asked now would
        // take the focus from the list's edit field while it closes.
        const auto target = form->postTarget();
        target->post(target->generation(), [this, tag = lstLinks->tag(row), name] { RenameRow(tag, name); });
    };
    lstLinks->onColumnClick = [this](int column) { List_ColumnClick(column); };
    lstLinks->onColumnWidthChange = [this](int column) {
        if (column != kShownColumnOrder.back())
            FillLastColumn();
    };
    cmdOpen->onClick = [this] { OpenSelected(); };
    cmdCheck->onClick = [this] { CheckSelected(); };
    cmdRepair->onClick = [this] { RepairSelected(); };
    cmdSource->onClick = [this] { ChangeSourceOfSelected(); };
    cmdRemove->onClick = [this] { RemoveSelected(); };
    cmdNew->onClick = [this] { NewFolderLink(); };
    cmdExport->onClick = [this] { ExportLinks(); };
    cmdImport->onClick = [this] { ImportLinks(); };
    cmdClose->onClick = [this] { form->unload(); };
    form->onResize = [this] { Layout(); };
    form->onDpiChanged = [this](unsigned dpi) { ApplyDpi(dpi); };
    form->onUnload = [this] { Form_Unload(); };
    ApplyDpi(GetDpiForWindow(formWindow));
    return true;
}

int ManagerWindow::Scaled(int pixelsAt96) const {
    return MulDiv(pixelsAt96, static_cast<int>(dpi_), 96);
}

void ManagerWindow::ApplyDpi(unsigned dpi) {
    const unsigned previous = dpi_;
    dpi_ = dpi ? dpi : 96;
    // Fonts are made at the resolution the framework reads from the screen:
    // a font for this window's screen is asked for that much larger.
    host::FontDesc font;
    font.size *= dpi_ / (1440.0 / host::TwipsPerPixelY());
    for (host::Control* c : std::initializer_list<host::Control*>{
             lstLinks.get(), lblEmpty.get(), lblCounts.get(), lblCause.get(), cmdOpen.get(), cmdCheck.get(),
             cmdRepair.get(), cmdSource.get(), cmdRemove.get(), cmdNew.get(), cmdExport.get(),
             cmdImport.get(), cmdClose.get()})
        c->setFont(font);
    // The rows' pictures at the size of this resolution's small icons; the
    // rows show none when they cannot be drawn.
    ImageList icons = DrawStateIcons(dpi_);
    lstLinks->setImageList(icons.get());
    stateIcons = std::move(icons);
    txtFolder->SetFont(font);
    txtFolder->SetLabelFont(font);
    txtFolder->SetButtonFont(font);
    if (previous != dpi_) {
        for (int c = 0; c < lstLinks->columnCount(); ++c)
            lstLinks->setColumnWidth(
                c, MulDiv(lstLinks->columnWidth(c), static_cast<int>(dpi_), static_cast<int>(previous)));
        // The folder line takes its caption's and its button's widths in
        // pixels, from the main window's stored form data at 96 dpi.
        txtFolder->SetLabelWidth(
            MulDiv(txtFolder->LabelWidth(), static_cast<int>(dpi_), static_cast<int>(previous)));
        txtFolder->SetButtonWidth(
            MulDiv(txtFolder->ButtonWidth(), static_cast<int>(dpi_), static_cast<int>(previous)));
    }
    // No narrower than the buttons in one row at their captions' widths,
    // and no larger than the work area of its monitor, whatever the font
    // and the scale: where the row does not fit there, it wraps.
    const ButtonNeeds needs = MeasureButtons();
    const int frameWidth = form->width() - form->clientWidth();
    SIZE minimum{std::accumulate(needs.least.begin(), needs.least.end(), 0) +
                     static_cast<int>(needs.least.size() - 1) * Scaled(kGap) + 2 * Scaled(kMargin) +
                     frameWidth,
                 Scaled(kMinimumHeight)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(form->hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        minimum.cx = std::min<LONG>(minimum.cx, monitor.rcWork.right - monitor.rcWork.left);
        minimum.cy = std::min<LONG>(minimum.cy, monitor.rcWork.bottom - monitor.rcWork.top);
    }
    form->setMinimumSize(minimum.cx, minimum.cy);
    Layout();
}

std::array<ManagerWindow::RowButton, 9> ManagerWindow::ButtonRow() const {
    return {{{cmdOpen.get(), 90},
             {cmdCheck.get(), 100},
             {cmdRepair.get(), 90},
             {cmdSource.get(), 110},
             {cmdRemove.get(), 90},
             {cmdNew.get(), 170},
             {cmdExport.get(), 100},
             {cmdImport.get(), 100},
             {cmdClose.get(), 90}}};
}

ManagerWindow::ButtonNeeds ManagerWindow::MeasureButtons() const {
    ButtonNeeds needs;
    for (const RowButton& place : ButtonRow()) {
        needs.designed.push_back(Scaled(place.width));
        needs.least.push_back(place.button->captionWidth() + Scaled(kCaptionPadding));
    }
    return needs;
}

void ManagerWindow::Layout() {
    const int width = form->clientWidth();
    const int height = form->clientHeight();
    const int margin = Scaled(kMargin);
    const int buttonHeight = Scaled(kButtonHeight);
    const double tppX = host::TwipsPerPixelX(), tppY = host::TwipsPerPixelY();
    txtFolder->placeTwips(margin * tppX, margin * tppY, (width - 2 * margin) * tppX,
                          Scaled(kLineHeight) * tppY);
    const int listTop = 2 * margin + Scaled(kLineHeight);
    const int gap = Scaled(kGap);
    const ButtonNeeds needs = MeasureButtons();
    const std::vector<ButtonLine> lines =
        FitButtonLines(needs.designed, needs.least, width - 2 * margin, gap);
    const int linesHeight = static_cast<int>(lines.size()) * (buttonHeight + gap) - gap;
    int top = height - margin - linesHeight;
    // The status line's two lines above the buttons: the counts, the cause.
    const int statusHeight = Scaled(kStatusLineHeight);
    const int statusTop = top - margin - 2 * statusHeight;
    lblCounts->setBounds(margin, statusTop, width - 2 * margin, statusHeight);
    lblCause->setBounds(margin, statusTop + statusHeight, width - 2 * margin, statusHeight);
    lstLinks->setBounds(margin, listTop, width - 2 * margin, statusTop - Scaled(kGap) - listTop);
    // Below the list's header.
    RECT header{};
    if (!GetWindowRect(ListView_GetHeader(lstLinks->hwnd()), &header))
        header = RECT{};
    lblEmpty->setBounds(Scaled(kGap), header.bottom - header.top + Scaled(kGap),
                        width - 2 * margin - 2 * Scaled(kGap), statusHeight);
    FillLastColumn();
    const auto row = ButtonRow();
    for (const ButtonLine& line : lines) {
        int left = margin;
        for (std::size_t i = 0; i < line.widths.size(); ++i) {
            const std::size_t button = line.first + i;
            // The last button stands at the right edge.
            if (button + 1 == row.size())
                left = width - margin - line.widths[i];
            row[button].button->setBounds(left, top, line.widths[i], buttonHeight);
            left += line.widths[i] + gap;
        }
        top += buttonHeight + gap;
    }
}

void ManagerWindow::Show() {
    form->show();
    // The list has the focus whenever the window is activated anew.
    lstLinks->setFocus();
    form->keepFocus();
}

int ManagerWindow::Run() {
    return form->runMessageLoop();
}

void ManagerWindow::ShowFolder(std::wstring folder) {
    folder = L_PFADE::TrimPathInput(folder);
    // A relative folder would be read below whatever the current folder is.
    if (!L_PFADE::IsFullPath(folder)) {
        host::ShowMessageBox(form->hwnd(),
                             folder.empty()
                                 ? std::wstring(L"Der Ordner der Netzwerkverkn\u00FCpfungen l\u00E4sst "
                                                L"sich nicht ermitteln.")
                                 : Quoted(folder) + L" ist kein vollst\u00E4ndiger Pfad: erwartet wird "
                                                    L"ein Laufwerk mit \\ oder eine Freigabe.",
                             kTitleNotShown, MB_OK | MB_ICONWARNING);
        txtFolder->SetText(folder_.empty() ? folder : L_SHTCUT::FolderAsShown(folder_));
        return;
    }
    folder = L_PFADE::AddBackslash(folder);
    // Whatever workers still do for the folder shown so far is dropped.
    form->postTarget()->newGeneration();
    watcher.reset();
    refreshPosted_ = false; // dropped with the generation
    rows_.clear();
    lstLinks->clear();
    ShowSelectedCause();
    listing_ = false;
    listAgain_ = false;
    writing_ = 0; // what still writes in the folder shown so far reports no more
    folder_ = folder;
    txtFolder->SetText(L_SHTCUT::FolderAsShown(folder));
    const unsigned generation = form->postTarget()->generation();
    std::weak_ptr<host::PostTarget> target = form->postTarget();
    watcher = FolderWatcher::Start(folder, [target, generation, this](const std::set<std::wstring>& entries) {
        if (const auto post = target.lock())
            post->post(generation, [this, entries] { FolderChanged(entries); });
    });
    policy_ = {};
    ListFolder();
    ReadPolicy();
    ShowCounts(); // none yet, and no word of an empty folder while it is read
}

void ManagerWindow::FolderChanged(const std::set<std::wstring>& entries) {
    ListFolder();
    // A folder link changed inside its folder (its desktop.ini deleted, its
    // folder's attributes changed) keeps its source: the listing would not
    // check it, so its row is checked again here, and no other.
    std::vector<std::intptr_t> changed;
    for (const auto& [tag, row] : rows_)
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const std::wstring& entry) { return SameName(entry, row.name); }))
            changed.push_back(tag);
    StartChecks(changed, true);
}

void ManagerWindow::ListFolder() {
    // A folder link half written by a repair or a change of source is read
    // once the writing is over.
    if (listing_ || writing_ > 0) {
        listAgain_ = true;
        return;
    }
    listing_ = true;
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    const bool started = RunOnWorker([target, generation, folder = folder_, this] {
        std::wstring failure;
        std::vector<FoundLink> found = FindLinks(folder, failure);
        target->post(generation, [this, found = std::move(found), failure] { ListingDone(found, failure); });
    });
    if (!started) {
        listing_ = false;
        host::ShowMessageBox(form->hwnd(),
                             L"Der Ordner l\u00E4sst sich nicht lesen: kein Thread verf\u00FCgbar.",
                             kTitleNotShown, MB_OK | MB_ICONWARNING);
    }
}

void ManagerWindow::ListingDone(const std::vector<FoundLink>& found, const std::wstring& failure) {
    listing_ = false;
    if (listAgain_) {
        listAgain_ = false;
        ListFolder();
        return;
    }
    if (!failure.empty()) {
        host::ShowMessageBox(form->hwnd(), failure, kTitleNotShown, MB_OK | MB_ICONWARNING);
        return;
    }
    const host::ListView::BulkChange bulk(*lstLinks);
    // Rows whose folder link went go.
    for (auto it = rows_.begin(); it != rows_.end();) {
        const bool stillThere = std::any_of(
            found.begin(), found.end(), [&](const FoundLink& link) { return link.path == it->second.path; });
        if (stillThere) {
            ++it;
            continue;
        }
        lstLinks->removeRow(lstLinks->findTag(it->first));
        it = rows_.erase(it);
    }
    // The whole folder links found are checked together, after all rows are there.
    std::vector<std::intptr_t> toCheck;
    for (const FoundLink& link : found) {
        const auto known = std::find_if(rows_.begin(), rows_.end(),
                                        [&](const auto& row) { return row.second.path == link.path; });
        if (known == rows_.end()) {
            AddRow(link, toCheck);
            continue;
        }
        Row& row = known->second;
        if (row.source != link.source || row.damaged != !link.fault.empty()) {
            SetSource(known->first, link.source);
            ShowFound(known->first, link, toCheck);
        }
    }
    StartChecks(toCheck, true);
    RowsChanged();
}

void ManagerWindow::ShowFound(std::intptr_t tag, const FoundLink& link, std::vector<std::intptr_t>& toCheck) {
    rows_[tag].damaged = !link.fault.empty();
    if (link.fault.empty())
        toCheck.push_back(tag);
    else
        SetState(tag, DamagedState(link.fault));
}

void ManagerWindow::StartChecks(const std::vector<std::intptr_t>& tags, bool changed) {
    std::vector<std::intptr_t> started;
    std::vector<std::wstring> paths;
    for (std::intptr_t tag : tags) {
        const auto found = rows_.find(tag);
        if (found == rows_.end())
            continue;
        Row& row = found->second;
        if (row.checking) {
            // The check that runs may have read the folder before it changed.
            row.checkAgain = row.checkAgain || changed;
            continue;
        }
        row.checking = true;
        SetState(tag, WorkingState(kStateChecking));
        started.push_back(tag);
        paths.push_back(row.path);
    }
    if (started.empty())
        return;
    // One worker for the lot: it asks all sources at once, and each row
    // gets its state as soon as its source answered.
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    const bool running = RunOnWorker([target, generation, started, paths, this] {
        CheckLinks(paths, kCheckTimeoutSeconds, [&](std::size_t index, const LinkCheck& check) {
            target->post(generation, [this, tag = started[index], check] { CheckDone(tag, check); });
        });
    });
    if (!running)
        for (std::intptr_t tag : started) {
            rows_[tag].checking = false;
            SetResult(tag, L"nicht gepr\u00FCft: die Pr\u00FCfung lie\u00DF sich nicht starten");
        }
}

void ManagerWindow::CheckDone(std::intptr_t tag, const LinkCheck& check) {
    const auto found = rows_.find(tag);
    if (found == rows_.end())
        return;
    Row& row = found->second;
    row.checking = false;
    if (row.checkAgain) {
        row.checkAgain = false;
        StartChecks({tag});
        return;
    }
    if (check.reading.source != row.source)
        SetSource(tag, check.reading.source);
    SetState(tag, StateOf(check));
}

std::vector<std::intptr_t> ManagerWindow::SelectedTags() const {
    std::vector<std::intptr_t> tags;
    for (int row : lstLinks->selectedRows())
        tags.push_back(lstLinks->tag(row));
    return tags;
}

void ManagerWindow::OpenSelected() {
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    for (std::intptr_t tag : SelectedTags()) {
        const std::wstring path = rows_[tag].path;
        const bool started = RunOnWorker([target, generation, path, this] {
            const DWORD error = OpenInExplorer(path);
            if (error != ERROR_SUCCESS)
                target->post(generation, [this, path, error] {
                    host::ShowMessageBox(
                        form->hwnd(),
                        Quoted(Shown(path)) + L" l\u00E4sst sich nicht im Explorer \u00F6ffnen: " +
                            L_SHTCUT::ErrorText(error) + L".",
                        L"Ordnerverkn\u00FCpfung nicht ge\u00F6ffnet", MB_OK | MB_ICONWARNING);
                });
        });
        if (!started)
            SetResult(tag, L"nicht ge\u00F6ffnet: kein Thread verf\u00FCgbar");
    }
}

void ManagerWindow::CheckSelected() {
    StartChecks(SelectedTags());
}

void ManagerWindow::RepairSelected() {
    // What each repair would do is read here, from local files alone, and a
    // folder the user keeps files in is marked again only when the user says
    // so, asked as before any folder with entries becomes a link. Writing
    // target.lnk may ask the source's server: that runs on a worker, and the
    // rows say so meanwhile.
    std::vector<RepairJob> jobs;
    std::wstring failures;
    for (std::intptr_t tag : SelectedTags()) {
        const auto found = rows_.find(tag);
        if (found == rows_.end() || found->second.checking)
            continue;
        const std::wstring path = found->second.path;
        const L_SHTCUT::FolderLinkRepair planned = L_SHTCUT::RepairFolderLink(path, true);
        auto otherEntries = L_SHTCUT::OtherEntries::Refuse;
        if (!planned.hiddenEntries.empty()) {
            const L_SHTCUT::Message question = L_SHTCUT::HidesEntriesQuestion(Quoted(Shown(path)), false);
            if (host::ShowMessageBox(form->hwnd(), question.text, question.title,
                                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
                // The row may have gone while the question was open.
                if (rows_.count(tag))
                    SetResult(tag, L"nicht repariert: " + planned.refusal);
                continue;
            }
            otherEntries = L_SHTCUT::OtherEntries::Hide;
        } else if (!planned.refusal.empty()) {
            failures += Quoted(Shown(path)) + L": " + planned.refusal + L"\n";
            SetResult(tag, L"nicht repariert: " + planned.refusal);
            continue;
        }
        jobs.push_back({tag, path, otherEntries});
    }
    for (const RepairJob& job : jobs) {
        if (!rows_.count(job.tag))
            continue;
        rows_[job.tag].checking = true; // no check beside the repair
        SetState(job.tag, WorkingState(L"wird repariert"));
    }
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    writing_ += static_cast<int>(jobs.size());
    const bool running = !jobs.empty() && RunOnWorker([target, generation, jobs, this] {
        for (const RepairJob& job : jobs) {
            const L_SHTCUT::FolderLinkRepair repair =
                L_SHTCUT::RepairFolderLink(job.path, false, job.otherEntries);
            const std::wstring why = repair.refusal.empty() ? repair.failure : repair.refusal;
            target->post(generation, [this, tag = job.tag, why, changed = !repair.changes.empty()] {
                WorkDone(tag, why.empty() ? std::wstring() : L"nicht repariert: " + why, changed,
                         L"Ordnerverkn\u00FCpfung nicht repariert");
            });
        }
    });
    if (!running)
        for (const RepairJob& job : jobs)
            WorkDone(job.tag, L"nicht repariert: kein Thread verf\u00FCgbar", false, nullptr);
    if (!failures.empty())
        host::ShowMessageBox(form->hwnd(), failures, L"Ordnerverkn\u00FCpfung nicht repariert",
                             MB_OK | MB_ICONWARNING);
}

void ManagerWindow::EndWriting() {
    if (writing_ > 0 && --writing_ == 0 && listAgain_) {
        listAgain_ = false;
        ListFolder();
    }
}

void ManagerWindow::WorkDone(std::intptr_t tag, const std::wstring& failure, bool changed,
                             const wchar_t* failureTitle) {
    EndWriting();
    const auto found = rows_.find(tag);
    if (found == rows_.end())
        return;
    found->second.checking = false;
    found->second.checkAgain = false;
    if (failure.empty()) {
        StartChecks({tag}, changed);
        return;
    }
    SetResult(tag, failure);
    if (failureTitle)
        host::ShowMessageBox(form->hwnd(), Quoted(Shown(found->second.path)) + L": " + failure, failureTitle,
                             MB_OK | MB_ICONWARNING);
}

void ManagerWindow::ChangeSourceOfSelected() {
    const int focused = lstLinks->focusedRow();
    const std::vector<int> selected = lstLinks->selectedRows();
    if (selected.empty())
        return;
    // Of several rows, the one with the focus, as a single row is meant.
    const int chosen = lstLinks->selected(focused) ? focused : selected.front();
    const std::intptr_t tag = lstLinks->tag(chosen);
    const auto shown = rows_.find(tag);
    if (shown == rows_.end() || shown->second.checking)
        return;
    const Row row = shown->second;
    // The next run points a link the policy's list names at its listed source again.
    if (row.managed &&
        host::ShowMessageBox(form->hwnd(),
                             Quoted(row.name) + L": " + L_SHTCUT::kManagedByPolicy +
                                 L"\n\nTrotzdem die Quelle \u00E4ndern?",
                             L"Quelle \u00E4ndern", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    const std::optional<L_SHTCUT::CreateCheck> check = AskForNewSource(form->hwnd(), row.path, row.source);
    // Nothing chosen, or the row went while the window was open: a folder
    // link that is not shown any more is not made again from here.
    const auto found = rows_.find(tag);
    if (!check || found == rows_.end())
        return;
    found->second.checking = true;
    SetState(tag, WorkingState(L"Quelle wird ge\u00E4ndert"));
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    ++writing_;
    const bool running = RunOnWorker([target, generation, tag, check = *check, this] {
        const L_SHTCUT::CreateResult result = L_SHTCUT::CreateFolderLink(*check.source, check.folder);
        const std::wstring failure =
            result
                ? std::wstring()
                : L"nicht ge\u00E4ndert: " + L_SHTCUT::DescribeFailure(Quoted(Shown(check.folder)), result);
        target->post(generation,
                     [this, tag, failure] { WorkDone(tag, failure, true, kTitleSourceNotChanged); });
    });
    if (!running)
        WorkDone(tag, L"nicht ge\u00E4ndert: kein Thread verf\u00FCgbar", false, nullptr);
}

void ManagerWindow::RemoveSelected() {
    const std::vector<std::intptr_t> tags = SelectedTags();
    if (tags.empty())
        return;
    // First what a user fears: that the files at the source go.
    const Row& first = rows_[tags.front()];
    const std::wstring question =
        tags.size() == 1
            ? (first.source.empty()
                   ? std::wstring(L"Die Dateien an der Quelle werden nicht gel\u00F6scht.")
                   : L"Die Dateien in " + Quoted(first.source) + L" werden nicht gel\u00F6scht.") +
                  L"\n\nDie Ordnerverkn\u00FCpfung " + Quoted(Shown(first.path)) +
                  L" entfernen? Was sonst in ihrem Ordner liegt, bleibt erhalten."
            : L"Die Dateien in ihren Quellen werden nicht gel\u00F6scht.\n\nDie " +
                  std::to_wstring(tags.size()) +
                  L" ausgew\u00E4hlten Ordnerverkn\u00FCpfungen entfernen? Was sonst in ihren Ordnern liegt, "
                  L"bleibt erhalten.";
    const bool managed = std::any_of(tags.begin(), tags.end(), [this](std::intptr_t tag) {
        const auto found = rows_.find(tag);
        return found != rows_.end() && found->second.managed;
    });
    if (host::ShowMessageBox(
            form->hwnd(), managed ? question + L"\n\n" + L_SHTCUT::kManagedByPolicy : question,
            L"Ordnerverkn\u00FCpfung entfernen", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    std::wstring failures;
    std::vector<std::wstring> emptied;
    {
        const host::ListView::BulkChange bulk(*lstLinks);
        for (std::intptr_t tag : tags) {
            // A row that went while the question was open is not brought back.
            const auto found = rows_.find(tag);
            if (found == rows_.end())
                continue;
            const std::wstring path = found->second.path;
            const L_SHTCUT::FolderLinkRemoval removal = L_SHTCUT::RemoveFolderLink(path);
            if (!removal.failure.empty()) {
                failures += Quoted(Shown(path)) + L" bleibt unver\u00E4ndert: " + removal.failure + L"\n";
                continue;
            }
            // An ordinary folder now, which the list does not show.
            lstLinks->removeRow(lstLinks->findTag(tag));
            rows_.erase(found);
            if (L_SHTCUT::ContentOf(path + L"\\").content == L_SHTCUT::FolderContent::Empty)
                emptied.push_back(path);
        }
    }
    RowsChanged();
    if (!failures.empty())
        host::ShowMessageBox(form->hwnd(), failures, L"Ordnerverkn\u00FCpfung nicht entfernt",
                             MB_OK | MB_ICONWARNING);
    OfferToDeleteEmptied(emptied);
}

void ManagerWindow::OfferToDeleteEmptied(const std::vector<std::wstring>& folders) {
    if (folders.empty())
        return;
    std::wstring named;
    for (const std::wstring& folder : folders)
        named += L"\n" + Quoted(Shown(folder));
    const std::wstring question =
        (folders.size() == 1 ? L"Dieser Ordner ist jetzt leer:" : L"Diese Ordner sind jetzt leer:") + named +
        (folders.size() == 1 ? L"\n\nIhn auch l\u00F6schen?" : L"\n\nSie auch l\u00F6schen?");
    if (host::ShowMessageBox(form->hwnd(), question, L"Leeren Ordner l\u00F6schen",
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    std::wstring failures;
    for (const std::wstring& folder : folders)
        // Only while still empty: RemoveDirectory deletes no folder that holds anything.
        if (RemoveDirectoryW(folder.c_str()))
            L_SHTCUT::NotifyShell(L_SHTCUT::FolderChange::Deleted, folder);
        else
            failures += Quoted(Shown(folder)) + L": " + L_SHTCUT::ErrorText(GetLastError()) + L"\n";
    if (!failures.empty())
        host::ShowMessageBox(form->hwnd(), L"Nicht gel\u00F6scht:\n" + failures,
                             L"Ordner nicht gel\u00F6scht", MB_OK | MB_ICONWARNING);
}

void ManagerWindow::NewFolderLink() {
    // The main window as a program of its own, its target prefilled with
    // the folder shown here.
    DWORD error = ERROR_SUCCESS;
    if (!StartWindowProgram(L"/new " + QuotedArgument(folder_), error))
        host::ShowMessageBox(
            form->hwnd(), L"Ordnerlink l\u00E4sst sich nicht starten: " + L_SHTCUT::ErrorText(error) + L".",
            kTitle, MB_OK | MB_ICONWARNING);
}

void ManagerWindow::ShowContextMenu(int x, int y) {
    const win32::Menu menu(CreatePopupMenu());
    if (!menu)
        return;
    const std::size_t selected = lstLinks->selectedRows().size();
    const UINT onRows = selected > 0 ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(menu.get(), MF_STRING | onRows, MenuOpen, L"\u00D6&ffnen");
    AppendMenuW(menu.get(), MF_STRING | onRows, MenuCheck, L"Erneut &pr\u00FCfen");
    AppendMenuW(menu.get(), MF_STRING | onRows, MenuRepair, L"&Reparieren");
    AppendMenuW(menu.get(), MF_STRING | onRows, MenuSource, L"&Quelle \u00E4ndern\u2026");
    AppendMenuW(menu.get(), MF_STRING | onRows, MenuRename, L"&Umbenennen");
    AppendMenuW(menu.get(), MF_STRING | onRows, MenuRemove, L"&Entfernen");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, MenuNew, L"&Neue Ordnerverkn\u00FCpfung\u2026");
    AppendMenuW(menu.get(), MF_STRING, MenuExport, L"E&xportieren\u2026");
    AppendMenuW(menu.get(), MF_STRING, MenuImport, L"&Importieren\u2026");
    if (selected > 0)
        SetMenuDefaultItem(menu.get(), MenuOpen, FALSE);
    switch (TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, form->hwnd(), nullptr)) {
    case MenuOpen:
        OpenSelected();
        break;
    case MenuCheck:
        CheckSelected();
        break;
    case MenuRepair:
        RepairSelected();
        break;
    case MenuSource:
        ChangeSourceOfSelected();
        break;
    case MenuRename:
        RenameSelected();
        break;
    case MenuRemove:
        RemoveSelected();
        break;
    case MenuNew:
        NewFolderLink();
        break;
    case MenuExport:
        ExportLinks();
        break;
    case MenuImport:
        ImportLinks();
        break;
    default:
        break; // closed without a choice
    }
}

void ManagerWindow::List_KeyDown(std::int16_t& keyCode, std::int16_t shift) {
    constexpr std::int16_t kControl = 2;
    switch (keyCode) {
    case VK_RETURN:
        OpenSelected();
        break;
    case VK_DELETE:
        RemoveSelected();
        break;
    case VK_F5:
        CheckSelected();
        break;
    case VK_F2:
        RenameSelected();
        break;
    case 'A':
        if (shift == kControl)
            lstLinks->selectAll();
        break;
    case 'C':
        if (shift == kControl)
            CopySelected();
        break;
    default:
        break;
    }
}

void ManagerWindow::Form_Unload() {
    watcher.reset();
    ManagerSettings settings;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(form->hwnd(), &placement))
        settings.bounds = placement.rcNormalPosition;
    settings.boundsDpi = dpi_;
    settings.sortColumn = sortColumn_;
    settings.sortDescending = sortDescending_;
    for (int c = 0; c < lstLinks->columnCount(); ++c)
        settings.columnWidths.push_back(MulDiv(lstLinks->columnWidth(c), 96, static_cast<int>(dpi_)));
    settings.folder = L_SHTCUT::FolderAsShown(folder_);
    SaveManagerSettings(settings); // not remembered when the key cannot be written: nothing to tell
    PostQuitMessage(0);
}
