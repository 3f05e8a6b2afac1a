#include "EnvironmentVariables.h"

#include <windows.h>

std::optional<std::wstring> LookUpEnvironmentVariable(std::wstring_view name) {
    const std::wstring terminatedName(name);
    std::wstring value;
    DWORD cchBuffer = 0; // with the terminator
    for (;;) {
        // A variable set to the empty text also answers 0: only the last
        // error tells it from one that is not set.
        SetLastError(ERROR_SUCCESS);
        const DWORD cchResult = GetEnvironmentVariableW(terminatedName.c_str(),
                                                        cchBuffer == 0 ? nullptr : value.data(), cchBuffer);
        if (cchResult == 0) {
            if (GetLastError() != ERROR_SUCCESS)
                return std::nullopt;
            return std::wstring();
        }
        if (cchResult < cchBuffer) {
            value.resize(cchResult);
            return value;
        }
        // The size asked for, terminator included; asked again, since the
        // variable may have grown in between.
        cchBuffer = cchResult;
        value.assign(cchBuffer, L'\0');
    }
}
