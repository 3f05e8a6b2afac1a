// The window "Ordnerverknüpfungen verwalten": the folder links directly in
// one folder (by default the user's network shortcuts), one row each with
// its state's picture, name, kind, source, state and cause, sorted by the
// column the user chose, a status line with how many are in which state and
// the selected row's whole cause, and what can be done with them. Nothing in it
// waits on a network: the folder is read and the sources are checked on
// worker threads, whose results reach the window through its post target,
// and a watcher thread reports changes of the folder.
#pragma once

#include "CommandButton.h"
#include "FolderWatcher.h"
#include "Form.h"
#include "L_SHTCUT.h"
#include "Label.h"
#include "LinkState.h"
#include "ListView.h"
#include "PolicyLinks.h"
#include "StateIcons.h"
#include "VxLineIn.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class ManagerWindow {
public:
    // folder empty: the folder shown last, else the network shortcuts.
    static std::unique_ptr<ManagerWindow> Create(const std::wstring& folder);
    ~ManagerWindow();

    void Show();
    int Run();

    // A folder link found in the folder, as a worker reads it.
    struct FoundLink {
        std::wstring path;
        std::wstring source;
        std::wstring fault; // empty for a whole folder link
    };

private:
    class DpiAwareness;
    ManagerWindow();
    bool CreateControls();
    void Layout();
    void ApplyDpi(unsigned dpi);
    int Scaled(int pixelsAt96) const;

    // The buttons at the bottom, left to right, each with its width at 96
    // dots per inch; the last stands at the right edge.
    struct RowButton {
        host::CommandButton* button;
        int width;
    };
    std::array<RowButton, 9> ButtonRow() const;
    // The buttons' widths at this resolution: as designed, and what each
    // caption needs.
    struct ButtonNeeds {
        std::vector<int> designed;
        std::vector<int> least;
    };
    ButtonNeeds MeasureButtons() const;

    // The folder and its rows.
    void ShowFolder(std::wstring folder);
    void ListFolder();
    // The watcher saw entries of the folder change (their names; none: unknown).
    void FolderChanged(const std::set<std::wstring>& entries);
    void ListingDone(const std::vector<FoundLink>& found, const std::wstring& failure);
    // Shows a damaged link's state; a whole one is added to toCheck.
    void ShowFound(std::intptr_t tag, const FoundLink& link, std::vector<std::intptr_t>& toCheck);
    // Checks the rows' folder links. A row whose check runs starts none
    // beside it; when the folder link changed meanwhile (changed), it is
    // checked once more after that one.
    void StartChecks(const std::vector<std::intptr_t>& tags, bool changed = false);
    void CheckDone(std::intptr_t tag, const LinkCheck& check);
    void AddRow(const FoundLink& link, std::vector<std::intptr_t>& toCheck);
    void SetSource(std::intptr_t tag, const std::wstring& source);
    void SetState(std::intptr_t tag, const ShownState& state);
    // An action on the row failed: it keeps the state it had, with result as
    // its cause.
    void SetResult(std::intptr_t tag, const std::wstring& result);
    // The rows changed: once what waits has run, they are sorted again and
    // the status line counts them.
    void RowsChanged();
    // The policy's list is read on a worker for the folder shown; its names
    // mark their rows once it is in.
    void ReadPolicy();
    void PolicyRead(const L_SHTCUT::PolicyLinks& links);
    bool ManagedByPolicy(const std::wstring& name) const;
    void SortRows();
    void ShowCounts();
    void ShowSelectedCause();
    void List_ColumnClick(int column);
    // The last column shown takes the width the others leave.
    void FillLastColumn();
    // At the first start: the columns as designed, narrower all alike where
    // the list is narrower than they are together.
    void ShareWidthAmongColumns();
    std::vector<std::intptr_t> SelectedTags() const;

    // The actions on the selected rows.
    void OpenSelected();
    void CheckSelected();
    void ChangeSourceOfSelected();
    void RemoveSelected();
    // Folders that a removal left empty: deleted when the user says so.
    void OfferToDeleteEmptied(const std::vector<std::wstring>& folders);
    void RepairSelected();
    // A repair or change of source that ran on a worker is over: its row is
    // checked anew, or shows failure (and, with failureTitle, a box names it).
    void WorkDone(std::intptr_t tag, const std::wstring& failure, bool changed, const wchar_t* failureTitle);
    struct RepairJob {
        std::intptr_t tag;
        std::wstring path;
        L_SHTCUT::OtherEntries otherEntries;
    };
    void NewFolderLink();
    // The shown folder links written to a list file, and a list file's
    // folder links made in the shown folder; the files chosen in the
    // system's dialogs.
    void ExportLinks();
    void ImportLinks();
    // A piece of writing in the folder is over: a listing that waited for it runs.
    void EndWriting();
    // Ctrl+C: the selected rows as text.
    void CopySelected();
    // F2: the row's folder gets the name typed in the list.
    void RenameSelected();
    void RenameRow(std::intptr_t tag, std::wstring name);
    void ShowContextMenu(int x, int y);
    void List_KeyDown(std::int16_t& keyCode, std::int16_t shift);
    void Form_Unload();

    struct Row {
        std::wstring path;
        std::wstring name;
        std::wstring source;
        std::wstring kind; // the source's KindName
        ShownState shown;
        ShownState settled;      // the last state that was no work in progress
        bool damaged = false;    // a folder link the shell cannot follow
        bool checking = false;   // a check runs: none is started beside it
        bool checkAgain = false; // the link changed while its check ran
        bool managed = false;    // the policy's list names it: the next run undoes a change
    };
    // The kind as the row shows it, with the policy's mark.
    static std::wstring ShownKind(const Row& row);

    // First, so that the thread's earlier mode comes back after the windows went.
    std::unique_ptr<DpiAwareness> dpiAwareness;
    // Before the list, which shows them until it goes.
    ImageList stateIcons;
    std::unique_ptr<host::Form> form;
    std::unique_ptr<VxLineIn> txtFolder;
    std::unique_ptr<host::ListView> lstLinks;
    std::unique_ptr<host::Label> lblEmpty; // inside the list, while it has no rows
    std::unique_ptr<host::Label> lblCounts;
    std::unique_ptr<host::Label> lblCause;
    std::unique_ptr<host::CommandButton> cmdOpen;
    std::unique_ptr<host::CommandButton> cmdCheck;
    std::unique_ptr<host::CommandButton> cmdRepair;
    std::unique_ptr<host::CommandButton> cmdSource;
    std::unique_ptr<host::CommandButton> cmdRemove;
    std::unique_ptr<host::CommandButton> cmdNew;
    std::unique_ptr<host::CommandButton> cmdExport;
    std::unique_ptr<host::CommandButton> cmdImport;
    std::unique_ptr<host::CommandButton> cmdClose;
    std::unique_ptr<FolderWatcher> watcher;

    std::wstring folder_; // ends in "\"
    std::map<std::intptr_t, Row> rows_;
    L_SHTCUT::PolicyLinks policy_; // for folder_; none while it is read
    std::intptr_t nextTag_ = 1;
    bool listing_ = false;   // a worker reads the folder
    bool listAgain_ = false; // it changed meanwhile: read it once more
    int writing_ = 0;        // repairs, changes of source and imports that run on workers
    unsigned dpi_ = 96;
    int sortColumn_ = -1; // -1: in the order the folder lists them
    bool sortDescending_ = false;
    bool refreshPosted_ = false; // RowsChanged posted its refresh
    bool fillingColumn_ = false; // FillLastColumn sets a width
};
