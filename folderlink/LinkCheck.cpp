#include "LinkCheck.h"

#include "FolderLinkFault.h"
#include "SourceCheck.h"

namespace {

LinkCondition ConditionOf(SourceState state) {
    switch (state) {
    case SourceState::Reachable:
        return LinkCondition::Reachable;
    case SourceState::NotAnswering:
        return LinkCondition::NotAnswering;
    case SourceState::Unreachable:
        break;
    }
    return LinkCondition::Unreachable;
}

} // namespace

void CheckLinks(const std::vector<std::wstring>& folders, unsigned timeoutSeconds,
                const LinkCheckReport& onCheck) {
    // The folders are read first, all of them (local files only); the
    // sources of the whole ones are then asked at the same time.
    std::vector<std::size_t> whole;
    std::vector<L_SHTCUT::FolderLinkReading> readings;
    std::vector<std::wstring> sources;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        L_SHTCUT::FolderLinkReading reading = L_SHTCUT::ReadFolderLink(folders[i]);
        if (!reading.isFolderLink) {
            onCheck(i, {std::move(reading), LinkCondition::NoFolderLink, kWordNoFolderLink, {}});
        } else if (reading.state != L_SHTCUT::FolderLinkState::FolderLink) {
            std::wstring fault = FolderLinkFault(reading);
            onCheck(i, {std::move(reading), LinkCondition::Damaged, kWordDamaged, std::move(fault)});
        } else {
            whole.push_back(i);
            sources.push_back(reading.source);
            readings.push_back(std::move(reading));
        }
    }
    CheckSources(sources, timeoutSeconds, [&](std::size_t index, const SourceAnswer& answer) {
        onCheck(whole[index],
                {readings[index], ConditionOf(answer.state), SourceStateWord(answer.state), answer.message});
    });
}
