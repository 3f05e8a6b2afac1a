#include "InstallerPackages.h"

#include <windows.h>

#include <msi.h>

namespace {

// One per flavour, never changed: a newer package of the same flavour
// replaces the older one by it. packaging/Ordnerlink.wxs names the same.
constexpr wchar_t kUserUpgradeCode[] = L"{5B72E01F-7350-4CF6-BAA1-377CB98EEF0B}";
constexpr wchar_t kMachineUpgradeCode[] = L"{8EB1F713-8F90-4207-BEA1-5386CCECFC69}";

// The first installed product of that UpgradeCode, among the ones installed
// for this user and for the machine. Windows Installer answers
// ERROR_NO_MORE_ITEMS when there is none; any other failure (a damaged
// registration) counts as none too: then nothing of a package is there that
// Windows Installer could remove.
std::optional<std::wstring> RelatedProduct(const wchar_t* upgradeCode) {
    wchar_t productCode[39]{};
    if (MsiEnumRelatedProductsW(upgradeCode, 0, 0, productCode) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(productCode);
}

} // namespace

std::optional<InstalledPackage> FindInstalledPackage() {
    if (auto product = RelatedProduct(kUserUpgradeCode))
        return InstalledPackage{false, std::move(*product)};
    if (auto product = RelatedProduct(kMachineUpgradeCode))
        return InstalledPackage{true, std::move(*product)};
    return std::nullopt;
}
