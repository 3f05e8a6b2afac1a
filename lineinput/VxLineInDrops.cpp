// Files dropped onto the field: txt, txi, mem and anz each take the dropped
// paths into their own text. The control raises no drop event; the written
// text box reports its Change like any other change of its text, and that
// reaches the host only from the text child of the current style.
#include "VxLineIn.h"

#include <cstddef>

void VxLineIn::RegisterDropTargets() {
    // Without OLE on this thread the registrations fail and the children
    // simply accept no drops.
    dropTargets_ = {
        host::FileDropTarget::Register(txt->hwnd(), [this](const auto& files) { txt_OLEDragDrop(files); }),
        host::FileDropTarget::Register(txi->hwnd(), [this](const auto& files) { txi_OLEDragDrop(files); }),
        host::FileDropTarget::Register(mem->hwnd(), [this](const auto& files) { mem_OLEDragDrop(files); }),
        host::FileDropTarget::Register(anz->hwnd(), [this](const auto& files) { anz_OLEDragDrop(files); }),
    };
}

LRESULT VxLineIn::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        dropTargets_ = {}; // revoked while txt, txi, mem and anz still exist
    return UserControl::handleMessage(msg, wParam, lParam);
}

void VxLineIn::txt_OLEDragDrop(const std::vector<std::wstring>& files) {
    if (files.empty())
        return;
    if (files.size() == 1 || !allowDDMultiFiles_) {
        txt->setText(files.front());
        return;
    }
    std::size_t cchJoined = 0;
    for (const std::wstring& path : files)
        cchJoined += path.size() + 2;
    std::wstring joined;
    joined.reserve(cchJoined);
    for (const std::wstring& path : files) {
        if (!joined.empty())
            joined += L"; ";
        joined += path;
    }
    txt->setText(joined);
}

void VxLineIn::txi_OLEDragDrop(const std::vector<std::wstring>& files) {
    if (!files.empty())
        txi->setText(files.front());
}

void VxLineIn::mem_OLEDragDrop(const std::vector<std::wstring>& files) {
    if (files.empty())
        return;
    std::wstring lines = appendOleDDFiles_ ? mem->text() : std::wstring();
    std::size_t cchLines = lines.size();
    for (const std::wstring& path : files)
        cchLines += path.size() + 2;
    lines.reserve(cchLines);
    for (const std::wstring& path : files) {
        lines += path;
        lines += L"\r\n";
    }
    mem->setText(lines);
}

void VxLineIn::anz_OLEDragDrop(const std::vector<std::wstring>& files) {
    if (!files.empty())
        anz->setCaption(files.front());
}
