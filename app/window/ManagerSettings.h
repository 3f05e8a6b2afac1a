// What the manager window remembers per user between its runs, under
// HKCU\Software\Ordnerlink\Verwalten: its place and size, its columns'
// widths and the folder it showed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct ManagerSettings {
    // The window's normal place in pixels, in workspace coordinates, as
    // GetWindowPlacement gives it and SetWindowPlacement takes it.
    std::optional<RECT> bounds;
    std::vector<int> columnWidths; // pixels, in the order of the columns
    std::wstring folder;           // empty: the user's network shortcuts
};

// What is stored; a value that is missing or malformed reads as not stored.
ManagerSettings LoadManagerSettings();
// false when the key could not be written.
bool SaveManagerSettings(const ManagerSettings& settings);

// bounds (in workspace coordinates) moved and shrunk as little as needed to
// lie wholly on the work area of the monitor nearest to them, so that a
// window stored on a monitor that is gone, or larger than the screen, opens
// where it can be seen.
RECT OnVisibleMonitor(const RECT& bounds);
