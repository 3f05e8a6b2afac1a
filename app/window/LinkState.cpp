#include "LinkState.h"

#include "FolderLinkFault.h"
#include "SourceCheck.h"

std::wstring DamagedStateText(const std::wstring& fault) {
    return L"besch\u00E4digt: " + fault;
}

void CheckLinkStates(const std::vector<std::wstring>& folders, unsigned timeoutSeconds,
                     const LinkStateReport& onState) {
    // The folders are read first, all of them (local files only); the
    // sources of the whole ones are then asked at the same time.
    std::vector<std::size_t> whole;
    std::vector<std::wstring> sources;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const L_SHTCUT::FolderLinkReading reading = L_SHTCUT::ReadFolderLink(folders[i]);
        if (!reading.isFolderLink) {
            onState(i, {false, reading.source, kStateNoLinkAnyMore});
        } else if (reading.state != L_SHTCUT::FolderLinkState::FolderLink) {
            onState(i, {true, reading.source, DamagedStateText(FolderLinkFault(reading))});
        } else {
            whole.push_back(i);
            sources.push_back(reading.source);
        }
    }
    CheckSources(sources, timeoutSeconds, [&](std::size_t index, const SourceAnswer& answer) {
        onState(whole[index], {true, sources[index],
                               answer.state == SourceState::Unreachable
                                   ? SourceStateWord(answer.state) + L": " + answer.message
                                   : SourceStateWord(answer.state)});
    });
}
