// What the manager window shows of a folder link in its column "Zustand",
// found off the window's thread: the folder read again, then whether its
// source answers.
#pragma once

#include <string>

struct LinkState {
    bool isFolderLink = false; // false: the folder is no folder link (any more)
    std::wstring source;       // where its target.lnk points, when it can be read
    std::wstring text;         // the state as the column shows it
};

// Reads the folder link at folder and, when it is whole, checks its source.
// Blocks for up to the timeout: call it on a worker thread.
LinkState CheckLinkState(const std::wstring& folder, unsigned timeoutSeconds);

// The state texts that need no check.
inline constexpr wchar_t kStateChecking[] = L"wird gepr\u00FCft";
inline constexpr wchar_t kStateNoLinkAnyMore[] = L"keine Ordnerverkn\u00FCpfung mehr";
// "beschädigt: <what>" for a folder link that the shell cannot follow.
std::wstring DamagedStateText(const std::wstring& fault);
