// What the manager window shows of a folder link in its column "Zustand",
// found off the window's thread: the folder read again, then whether its
// source answers.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct LinkState {
    bool isFolderLink = false; // false: the folder is no folder link (any more)
    std::wstring source;       // where its target.lnk points, when it can be read
    std::wstring text;         // the state as the column shows it
};

// Reads the folder links at folders and checks the sources of the whole ones,
// all at the same time. onState is called once per folder, with its index,
// as soon as its state is known, on the calling thread. Blocks for up to
// the timeout: call it on a worker thread.
using LinkStateReport = std::function<void(std::size_t index, const LinkState& state)>;
void CheckLinkStates(const std::vector<std::wstring>& folders, unsigned timeoutSeconds,
                     const LinkStateReport& onState);

// The state texts that need no check.
inline constexpr wchar_t kStateChecking[] = L"wird gepr\u00FCft";
inline constexpr wchar_t kStateNoLinkAnyMore[] = L"keine Ordnerverkn\u00FCpfung mehr";
// "beschädigt: <what>" for a folder link that the shell cannot follow.
std::wstring DamagedStateText(const std::wstring& fault);
