// Ordnerlink's Windows Installer packages (packaging/Ordnerlink.wxs), as
// Windows Installer knows them by their UpgradeCodes: whether one installed
// Ordnerlink, so that /install and /uninstall leave its copy alone.
#pragma once

#include <optional>
#include <string>

struct InstalledPackage {
    bool forMachine = false;  // the package for every user, else the one for this user
    std::wstring productCode; // what `msiexec /x` takes
};

// The package installed for this user or for the machine, if any (the one
// for this user first).
std::optional<InstalledPackage> FindInstalledPackage();
