// Whether the sources of folder links answer: a local or network path that
// exists, or an FTP server that greets as one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

enum class SourceState {
    Reachable,    // the path exists, or the FTP server greeted
    NotAnswering, // the timeout ran out before the source said anything
    Unreachable,  // the source said no, or cannot be checked; the message says why
};

struct SourceAnswer {
    SourceState state = SourceState::Unreachable;
    std::wstring message; // what was found, a German sentence
};

// Checks all sources at the same time: the call returns after about
// timeoutSeconds at most, however many sources there are and whatever the
// network does. Each source is checked on a worker thread of its own that is
// left behind when time is up (a program that ends after the check ends its
// process without its teardown, which such a worker must not meet). A source of another kind (an http://
// address, a relative path) is not checked and is Unreachable. The answers are in the order of sources.
// onAnswer, when given, is called with each source's index and answer as soon as it is known, on the calling
// thread.
using AnswerReport = std::function<void(std::size_t index, const SourceAnswer& answer)>;
std::vector<SourceAnswer> CheckSources(const std::vector<std::wstring>& sources, unsigned timeoutSeconds,
                                       const AnswerReport& onAnswer = nullptr);

SourceAnswer CheckSource(const std::wstring& source, unsigned timeoutSeconds);

// The fixed word for a state, as /check /all prints it and the manager shows
// it: "erreichbar", "antwortet nicht", "nicht erreichbar".
std::wstring SourceStateWord(SourceState state);
