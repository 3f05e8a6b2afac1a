#include "ManagerWindow.h"

#include "ManagerColumns.h"
#include "SameName.h"
#include "Worker.h"

#include <algorithm>

// The rows that the administrator's policy manages: its list is read on a
// worker, as it often lies on a share, and marks its rows once it is in. A
// policy or list that cannot be read marks nothing; the status line says
// why while no row is selected.

void ManagerWindow::ReadPolicy() {
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    // Without a thread nothing is marked, as without a policy.
    RunOnWorker([target, generation, folder = folder_, this] {
        L_SHTCUT::PolicyLinks links = L_SHTCUT::PolicyLinksIn(folder);
        target->post(generation, [this, links = std::move(links)] { PolicyRead(links); });
    });
}

void ManagerWindow::PolicyRead(const L_SHTCUT::PolicyLinks& links) {
    policy_ = links;
    for (auto& [tag, row] : rows_) {
        const bool managed = ManagedByPolicy(row.name);
        if (managed == row.managed)
            continue;
        row.managed = managed;
        lstLinks->setText(lstLinks->findTag(tag), ColumnKind, ShownKind(row));
    }
    RowsChanged();
}

bool ManagerWindow::ManagedByPolicy(const std::wstring& name) const {
    return std::any_of(policy_.names.begin(), policy_.names.end(),
                       [&](const std::wstring& listed) { return SameName(listed, name); });
}

std::wstring ManagerWindow::ShownKind(const Row& row) {
    return row.managed ? row.kind + L" (Richtlinie)" : row.kind;
}
