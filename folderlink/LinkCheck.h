// Whether folder links work, all of them checked at the same time: each
// folder read again, then the sources of the whole ones asked. What the
// manager shows in its column "Zustand" and what /check /all prints both
// come from here.
#pragma once

#include "L_SHTCUT.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

enum class LinkCondition {
    NoFolderLink, // the folder is no folder link (any more)
    Damaged,      // a folder link Windows cannot follow; its source is not asked
    Reachable,
    NotAnswering, // the timeout ran out before the source said anything
    Unreachable,
};

// The fixed state words of the conditions that are no source's answer.
inline constexpr wchar_t kWordNoFolderLink[] = L"keine Ordnerverkn\u00FCpfung mehr";
inline constexpr wchar_t kWordDamaged[] = L"besch\u00E4digt";

struct LinkCheck {
    L_SHTCUT::FolderLinkReading reading; // the folder as read: its source, and what is damaged
    LinkCondition condition = LinkCondition::NoFolderLink;
    // The fixed state word: kWordNoFolderLink, kWordDamaged or the source's
    // SourceStateWord.
    std::wstring word;
    // Why, in words: what is damaged (FolderLinkFault), or the source's
    // answer; empty for no folder link.
    std::wstring cause;
};

// Reads the folder links at folders and checks the sources of the whole
// ones, all at the same time. onCheck is called once per folder, with its
// index, as soon as its condition is known, on the calling thread. Blocks
// for up to the timeout.
using LinkCheckReport = std::function<void(std::size_t index, const LinkCheck& check)>;
void CheckLinks(const std::vector<std::wstring>& folders, unsigned timeoutSeconds,
                const LinkCheckReport& onCheck);
