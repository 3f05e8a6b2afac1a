#include "LinkListRead.h"

#include "EnvironmentVariables.h"
#include "ErrorText.h"
#include "Quoted.h"
#include "WholeFile.h"

#include <windows.h>

std::optional<LinkList> ReadListFile(const std::wstring& path, std::wstring& why) {
    unsigned long error = ERROR_SUCCESS;
    const auto bytes = ReadWholeFile(path, cbLargestLinkList, error);
    if (!bytes) {
        why = L"Die Liste " + Quoted(path) + L" l\u00E4sst sich nicht lesen: " + L_SHTCUT::ErrorText(error) +
              L".";
        return std::nullopt;
    }
    return ParseLinkList(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                         LookUpEnvironmentVariable);
}

std::wstring ListEncodingNotice(const std::wstring& path, const LinkList& list) {
    if (list.encoding != LinkListEncoding::Windows1252)
        return {};
    return L"Die Liste " + Quoted(path) +
           L" ist kein g\u00FCltiges UTF-8 und hat keine Byte-Order-Mark; sie wird als Windows-1252 (ANSI) "
           L"gelesen.";
}
