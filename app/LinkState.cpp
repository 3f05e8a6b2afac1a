#include "LinkState.h"

#include "Commands.h"
#include "SourceCheck.h"

std::wstring DamagedStateText(const std::wstring& fault) {
    return L"besch\u00E4digt: " + fault;
}

LinkState CheckLinkState(const std::wstring& folder, unsigned timeoutSeconds) {
    const L_SHTCUT::FolderLinkReading reading = L_SHTCUT::ReadFolderLink(folder);
    if (!reading.isFolderLink)
        return {false, reading.source, kStateNoLinkAnyMore};
    if (reading.state != L_SHTCUT::FolderLinkState::FolderLink)
        return {true, reading.source, DamagedStateText(FolderLinkFault(reading))};
    const SourceAnswer answer = CheckSource(reading.source, timeoutSeconds);
    switch (answer.state) {
    case SourceState::Reachable:
        return {true, reading.source, L"erreichbar"};
    case SourceState::NotAnswering:
        return {true, reading.source, L"antwortet nicht"};
    case SourceState::Unreachable:
        break;
    }
    return {true, reading.source, L"nicht erreichbar: " + answer.message};
}
