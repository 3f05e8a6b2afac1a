// What the manager window remembers per user between its runs, under
// HKCU\Software\Ordnerlink\Verwalten: its place and size with the
// resolution they were measured at, its columns' widths, the column its rows
// are sorted by and the folder it showed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct ManagerSettings {
    // The window's normal place in pixels, in workspace coordinates, as
    // GetWindowPlacement gives it and SetWindowPlacement takes it.
    std::optional<RECT> bounds;
    unsigned boundsDpi = 96; // what bounds were measured at; 96 when not stored
    // Pixels at 96 dots per inch, by the columns' index: a column added later
    // comes after those there were, so that widths stored before it never
    // land on another column.
    std::vector<int> columnWidths;
    int sortColumn = -1; // by index; -1: in the order the folder lists them
    bool sortDescending = false;
    std::wstring folder; // empty: the user's network shortcuts
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
