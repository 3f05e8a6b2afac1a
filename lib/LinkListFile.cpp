#include "LinkListFile.h"

#include "Utf8Text.h"
#include "Windows1252.h"

#include <algorithm>

namespace {

bool IsSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

// Little-endian UTF-16; an unpaired surrogate or an odd byte makes it fail.
std::optional<std::wstring> DecodeUtf16(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unitAt = [&bytes](std::size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (!IsSurrogate(unit)) {
            Utf8Text::AppendCodePoint(text, unit);
            continue;
        }
        if (unit >= 0xDC00 || i + 4 > bytes.size())
            return std::nullopt;
        const char32_t low = unitAt(i + 2);
        if (low < 0xDC00 || low > 0xDFFF)
            return std::nullopt;
        Utf8Text::AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
    }
    return text;
}

// Windows-1252; one of its five unassigned codes makes it fail.
std::optional<std::wstring> DecodeWindows1252(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto ch = Windows1252::CharOf(static_cast<unsigned char>(byte));
        if (!ch)
            return std::nullopt;
        text += *ch;
    }
    return text;
}

std::optional<std::wstring> Decode(LinkListEncoding encoding, std::string_view bytes) {
    switch (encoding) {
    case LinkListEncoding::Utf16Le:
    case LinkListEncoding::Utf16Be: // its bytes are swapped to little-endian first
        return DecodeUtf16(bytes);
    case LinkListEncoding::Windows1252:
        return DecodeWindows1252(bytes);
    case LinkListEncoding::Utf8:
    case LinkListEncoding::Utf8WithBom:
        break;
    }
    return Utf8Text::Decode(bytes);
}

// A line's bytes without its line end, before decoding.
struct RawLine {
    std::size_t lineNumber = 0;
    std::string_view bytes;
};

// Blank, tab and "#" are single units in every encoding read here (one byte,
// or one little-endian unit of two), so a line is known as blank or comment
// before anything of it is decoded.
bool IsBlankOrComment(std::string_view bytes, std::size_t cbUnit) {
    std::size_t i = 0;
    for (; i + cbUnit <= bytes.size(); i += cbUnit) {
        const char32_t unit = cbUnit == 1 ? static_cast<unsigned char>(bytes[i])
                                          : static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit != U' ' && unit != U'\t')
            return unit == U'#';
    }
    return i == bytes.size(); // a last odd byte is content, and not readable
}

// The lines that are neither blank nor comments. A line feed is one byte in
// UTF-8 and Windows-1252 and the unit 0A 00 in UTF-16, and none of them occurs
// inside another character: lines split before decoding, so a damaged line
// leaves its neighbours readable.
std::vector<RawLine> ContentLines(std::string_view bytes, std::size_t cbUnit) {
    const std::string_view lineFeed("\n\0", cbUnit);
    const std::string_view carriageReturn("\r\0", cbUnit);
    std::vector<RawLine> lines;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes.substr(end, cbUnit) != lineFeed)
            end += cbUnit;
        std::string_view raw = bytes.substr(start, end - start);
        // A file converted to CR LF twice ends its lines in CR CR LF.
        while (raw.ends_with(carriageReturn))
            raw.remove_suffix(cbUnit);
        ++lineNumber;
        if (!IsBlankOrComment(raw, cbUnit))
            lines.push_back({lineNumber, raw});
        start = end + cbUnit;
    }
    return lines;
}

std::wstring InvalidCharactersText(LinkListEncoding encoding) {
    std::wstring why;
    switch (encoding) {
    case LinkListEncoding::Utf16Le:
    case LinkListEncoding::Utf16Be:
        why = L"Die Zeile ist kein gültiges UTF-16, obwohl die Datei mit dessen Byte-Order-Mark beginnt.";
        break;
    case LinkListEncoding::Windows1252:
        why = L"Die Datei ist kein gültiges UTF-8 und wird als Windows-1252 gelesen, aber die Zeile enthält "
              L"ein Byte, das dort kein Zeichen ist.";
        break;
    case LinkListEncoding::Utf8:
    case LinkListEncoding::Utf8WithBom:
        why = L"Die Zeile ist kein gültiges UTF-8, obwohl die Datei mit dessen Byte-Order-Mark beginnt.";
        break;
    }
    return why + L" Gelesen werden UTF-8, UTF-16 mit Byte-Order-Mark und Windows-1252.";
}

struct Expanded {
    std::wstring text;  // empty when error is not
    std::wstring error; // empty when every variable was replaced
};

// field with each "%NAME%" replaced by the variable's value and each "%%" by
// "%". A value is taken as it is, never expanded again.
Expanded ExpandVariables(std::wstring_view field, const VariableLookup& lookUpVariable) {
    Expanded expanded;
    for (std::size_t i = 0; i < field.size();) {
        if (field[i] != L'%') {
            expanded.text += field[i++];
            continue;
        }
        const std::size_t closing = field.find(L'%', i + 1);
        if (closing == std::wstring_view::npos)
            return {{},
                    L"Zu einem % fehlt das schließende %: eine Umgebungsvariable steht als %NAME%, "
                    L"ein Prozentzeichen selbst als %%."};
        const std::wstring_view name = field.substr(i + 1, closing - i - 1);
        if (name.empty()) {
            expanded.text += L'%';
        } else if (const auto value = lookUpVariable ? lookUpVariable(name) : std::nullopt) {
            expanded.text += *value;
        } else {
            return {{}, L"Die Umgebungsvariable %" + std::wstring(name) + L"% ist nicht gesetzt."};
        }
        i = closing + 1;
    }
    return expanded;
}

std::wstring TrimBlanks(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

// A decoded line that is neither blank nor a comment.
LinkListLine ReadLine(std::size_t lineNumber, const std::wstring& text,
                      const VariableLookup& lookUpVariable) {
    LinkListLine line;
    line.lineNumber = lineNumber;
    if (text.find(L'\0') != std::wstring::npos) {
        line.error = L"Die Zeile enthält ein NUL-Zeichen.";
        return line;
    }
    const auto tab = text.find(L'\t');
    if (tab == std::wstring::npos) {
        line.error = L"Quelle und Ziel sind nicht durch einen Tabulator getrennt.";
        return line;
    }
    if (text.find(L'\t', tab + 1) != std::wstring::npos) {
        line.error = L"Die Zeile enthält mehr als einen Tabulator.";
        return line;
    }
    // A field is kept when it could be read, so that a line refused for its
    // source still names its target.
    Expanded source = ExpandVariables(std::wstring_view(text).substr(0, tab), lookUpVariable);
    Expanded target = ExpandVariables(std::wstring_view(text).substr(tab + 1), lookUpVariable);
    line.source = TrimBlanks(source.text);
    line.target = TrimBlanks(target.text);
    if (!source.error.empty())
        line.error = std::move(source.error);
    else if (!target.error.empty())
        line.error = std::move(target.error);
    else if (line.source.empty())
        line.error = L"Die Quelle fehlt.";
    else if (line.target.empty())
        line.error = L"Das Ziel fehlt.";
    return line;
}

} // namespace

LinkList ParseLinkList(std::string_view bytes, const VariableLookup& lookUpVariable) {
    LinkList list;
    std::string swapped; // a big-endian file's bytes in little-endian order
    if (bytes.starts_with("\xFF\xFE")) {
        list.encoding = LinkListEncoding::Utf16Le;
        bytes.remove_prefix(2);
    } else if (bytes.starts_with("\xFE\xFF")) {
        list.encoding = LinkListEncoding::Utf16Be;
        swapped.assign(bytes.substr(2));
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        bytes = swapped;
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        list.encoding = LinkListEncoding::Utf8WithBom;
        bytes.remove_prefix(3);
    }
    const bool utf16 =
        list.encoding == LinkListEncoding::Utf16Le || list.encoding == LinkListEncoding::Utf16Be;
    const std::vector<RawLine> raw = ContentLines(bytes, utf16 ? 2 : 1);

    std::vector<std::optional<std::wstring>> decoded;
    decoded.reserve(raw.size());
    for (const RawLine& line : raw)
        decoded.push_back(Decode(list.encoding, line.bytes));
    if (list.encoding == LinkListEncoding::Utf8 &&
        std::any_of(decoded.begin(), decoded.end(), [](const auto& text) { return !text; })) {
        list.encoding = LinkListEncoding::Windows1252;
        for (std::size_t i = 0; i < raw.size(); ++i)
            decoded[i] = DecodeWindows1252(raw[i].bytes);
    }

    list.lines.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (decoded[i]) {
            list.lines.push_back(ReadLine(raw[i].lineNumber, *decoded[i], lookUpVariable));
        } else {
            LinkListLine& line = list.lines.emplace_back();
            line.lineNumber = raw[i].lineNumber;
            line.error = InvalidCharactersText(list.encoding);
        }
    }
    return list;
}

std::wstring EscapePercent(std::wstring_view path) {
    std::wstring escaped;
    escaped.reserve(path.size());
    for (const wchar_t ch : path) {
        if (ch == L'%')
            escaped += L'%';
        escaped += ch;
    }
    return escaped;
}
