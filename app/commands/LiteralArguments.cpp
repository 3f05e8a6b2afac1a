#include "LiteralArguments.h"

#include <algorithm>

namespace {

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

bool EqualsIgnoringAsciiCase(std::wstring_view text, std::wstring_view lowerCase) {
    return text.size() == lowerCase.size() &&
           std::equal(text.begin(), text.end(), lowerCase.begin(), [](wchar_t a, wchar_t b) {
               return (a >= L'A' && a <= L'Z' ? static_cast<wchar_t>(a - L'A' + L'a') : a) == b;
           });
}

} // namespace

std::vector<std::wstring> SplitArgumentsLiterally(std::wstring_view commandLine) {
    std::vector<std::wstring> arguments;
    std::size_t at = 0;
    // The program's name: quoted, or up to the first blank.
    if (at < commandLine.size() && commandLine[at] == L'"') {
        const std::size_t closing = commandLine.find(L'"', at + 1);
        at = closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
    }
    while (at < commandLine.size() && !IsBlank(commandLine[at]))
        ++at;

    while (true) {
        while (at < commandLine.size() && IsBlank(commandLine[at]))
            ++at;
        if (at >= commandLine.size())
            return arguments;
        std::wstring argument;
        bool quoted = false;
        for (; at < commandLine.size() && (quoted || !IsBlank(commandLine[at])); ++at) {
            if (commandLine[at] == L'"')
                quoted = !quoted;
            else
                argument += commandLine[at];
        }
        arguments.push_back(std::move(argument));
    }
}

bool ReadsArgumentsLiterally(const std::vector<std::wstring>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::wstring& argument) {
        return EqualsIgnoringAsciiCase(argument, L"/new") || EqualsIgnoringAsciiCase(argument, L"/manage");
    });
}
