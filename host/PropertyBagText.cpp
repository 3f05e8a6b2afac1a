#include "PropertyBagText.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace host {
namespace {

// The characters a quoted text writes as a backslash and a letter.
struct Escape {
    wchar_t plain;
    wchar_t letter;
};
constexpr Escape kEscapes[] = {{L'\\', L'\\'}, {L'"', L'"'}, {L'\n', L'n'}, {L'\r', L'r'}, {L'\t', L't'}};

const wchar_t* EscapeOf(wchar_t plain) {
    for (const Escape& e : kEscapes)
        if (e.plain == plain)
            return &e.letter;
    return nullptr;
}
const wchar_t* PlainOf(wchar_t letter) {
    for (const Escape& e : kEscapes)
        if (e.letter == letter)
            return &e.plain;
    return nullptr;
}

// A cursor over one line of the store.
class LineReader {
public:
    explicit LineReader(std::wstring_view line) : line_(line) {}

    void SkipBlanks() {
        while (pos_ < line_.size() && IsBlank(line_[pos_]))
            ++pos_;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ == line_.size();
    }
    bool Take(wchar_t c) {
        SkipBlanks();
        if (pos_ < line_.size() && line_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    // A run of characters up to a blank or "=".
    std::wstring Word() {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < line_.size() && !IsBlank(line_[pos_]) && line_[pos_] != L'=')
            ++pos_;
        return std::wstring(line_.substr(start, pos_ - start));
    }
    std::optional<std::int64_t> Integer() {
        SkipBlanks();
        bool negative = false;
        if (pos_ < line_.size() && (line_[pos_] == L'-' || line_[pos_] == L'+'))
            negative = line_[pos_++] == L'-';
        std::int64_t n = 0;
        std::size_t digits = 0;
        for (; pos_ < line_.size() && IsDigit(line_[pos_]); ++pos_, ++digits) {
            n = n * 10 + (line_[pos_] - L'0');
            if (n > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
        }
        if (digits == 0)
            return std::nullopt;
        return negative ? -n : n;
    }
    // A non-negative decimal number with an optional fraction after ".".
    std::optional<double> Decimal() {
        SkipBlanks();
        double value = 0;
        std::size_t digits = 0;
        for (; pos_ < line_.size() && IsDigit(line_[pos_]) && digits < 9; ++pos_, ++digits)
            value = value * 10 + (line_[pos_] - L'0');
        if (digits == 0)
            return std::nullopt;
        if (pos_ < line_.size() && line_[pos_] == L'.') {
            ++pos_;
            double scale = 0.1;
            for (std::size_t fraction = 0; pos_ < line_.size() && IsDigit(line_[pos_]) && fraction < 9;
                 ++pos_, ++fraction, scale /= 10)
                value += (line_[pos_] - L'0') * scale;
        }
        return value;
    }
    std::optional<std::wstring> Quoted() {
        if (!Take(L'"'))
            return std::nullopt;
        std::wstring text;
        while (pos_ < line_.size()) {
            const wchar_t c = line_[pos_++];
            if (c == L'"')
                return text;
            if (c != L'\\') {
                text += c;
                continue;
            }
            if (pos_ >= line_.size())
                return std::nullopt;
            const wchar_t escaped = line_[pos_++];
            if (escaped == L'u') {
                const auto code = Hex(4, 4);
                if (!code)
                    return std::nullopt;
                text += static_cast<wchar_t>(*code);
            } else if (const wchar_t* plain = PlainOf(escaped)) {
                text += *plain;
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt; // no closing quote
    }
    // Between minDigits and maxDigits hex digits.
    std::optional<std::uint32_t> Hex(std::size_t minDigits, std::size_t maxDigits) {
        std::uint32_t n = 0;
        std::size_t digits = 0;
        for (; pos_ < line_.size() && digits < maxDigits; ++pos_, ++digits) {
            const int d = HexDigit(line_[pos_]);
            if (d < 0)
                break;
            n = n * 16 + static_cast<std::uint32_t>(d);
        }
        if (digits < minDigits)
            return std::nullopt;
        return n;
    }
    std::optional<std::vector<std::uint8_t>> HexBytes() {
        SkipBlanks();
        std::vector<std::uint8_t> bytes;
        while (pos_ + 1 < line_.size() && HexDigit(line_[pos_]) >= 0 && HexDigit(line_[pos_ + 1]) >= 0) {
            bytes.push_back(
                static_cast<std::uint8_t>(HexDigit(line_[pos_]) * 16 + HexDigit(line_[pos_ + 1])));
            pos_ += 2;
        }
        return bytes;
    }

    static int HexDigit(wchar_t c) {
        if (IsDigit(c))
            return c - L'0';
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        return -1;
    }

private:
    static bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
    // A carriage return outside a quoted text is white space: an editor may
    // leave one or more before a line end ("Begin txtUrl\r\r\n"), and the
    // writer never puts one into a name or key, only "\r" into a quoted text.
    static bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; }

    std::wstring_view line_;
    std::size_t pos_ = 0;
};

template <class T> std::optional<T> InRange(std::optional<std::int64_t> n) {
    if (!n || *n < std::numeric_limits<T>::min() || *n > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(*n);
}

std::optional<bool> Flag(LineReader& in) {
    const auto n = in.Integer();
    if (!n || (*n != 0 && *n != 1))
        return std::nullopt;
    return *n == 1;
}

std::optional<FontDesc> ReadFont(LineReader& in) {
    FontDesc font;
    const auto name = in.Quoted();
    if (!name || !in.Take(L','))
        return std::nullopt;
    font.name = *name;
    const auto size = in.Decimal();
    if (!size || *size <= 0 || !in.Take(L','))
        return std::nullopt;
    font.size = *size;
    const auto weight = InRange<std::int16_t>(in.Integer());
    if (!weight || !in.Take(L','))
        return std::nullopt;
    font.weight = *weight;
    for (bool* flag : {&font.italic, &font.underline, &font.strikethrough}) {
        const auto value = Flag(in);
        if (!value || !in.Take(L','))
            return std::nullopt;
        *flag = *value;
    }
    const auto charset = InRange<std::int16_t>(in.Integer());
    if (!charset)
        return std::nullopt;
    font.charset = *charset;
    return font;
}

std::optional<PropertyValue> ReadValue(const std::wstring& type, LineReader& in) {
    std::optional<PropertyValue> value;
    if (type == L"int16") {
        if (const auto n = InRange<std::int16_t>(in.Integer()))
            value = *n;
    } else if (type == L"int32") {
        if (const auto n = InRange<std::int32_t>(in.Integer()))
            value = *n;
    } else if (type == L"bool") {
        if (const auto n = in.Integer(); n && (*n == -1 || *n == 0))
            value = *n == -1;
    } else if (type == L"string") {
        if (auto text = in.Quoted())
            value = std::move(*text);
    } else if (type == L"color") {
        if (in.Take(L'&') && in.Take(L'H'))
            if (const auto n = in.Hex(1, 8))
                value = ColorValue{*n};
    } else if (type == L"font") {
        if (auto font = ReadFont(in))
            value = std::move(*font);
    } else if (type == L"picture") {
        if (auto bytes = in.HexBytes())
            value = PictureData{std::move(*bytes)};
    }
    if (!in.AtEnd())
        return std::nullopt; // trailing text: the line is not what it claims to be
    return value;
}

std::wstring Quote(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (const wchar_t* letter = EscapeOf(c)) {
            out += L'\\';
            out += *letter;
        } else if (c < 0x20) {
            wchar_t code[8];
            std::swprintf(code, 8, L"\\u%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

std::wstring FormatSize(double size) {
    // Whole ten-thousandths, written without the platform's locale.
    const auto scaled = static_cast<long long>(std::llround(size * 10000));
    std::wstring text = std::to_wstring(scaled / 10000);
    long long fraction = scaled % 10000;
    if (fraction != 0) {
        wchar_t digits[8];
        std::swprintf(digits, 8, L"%04lld", fraction);
        std::wstring f = digits;
        while (f.back() == L'0')
            f.pop_back();
        text += L"." + f;
    }
    return text;
}

std::wstring FormatEntry(const PropertyBag::Entry& e) {
    struct Formatter {
        std::wstring operator()(std::int16_t n) const {
            return L"int16 " + key + L" = " + std::to_wstring(n);
        }
        std::wstring operator()(std::int32_t n) const {
            return L"int32 " + key + L" = " + std::to_wstring(n);
        }
        std::wstring operator()(bool b) const { return L"bool " + key + (b ? L" = -1" : L" = 0"); }
        std::wstring operator()(const std::wstring& s) const { return L"string " + key + L" = " + Quote(s); }
        std::wstring operator()(const ColorValue& c) const {
            wchar_t hex[12];
            std::swprintf(hex, 12, L"&H%08X", static_cast<unsigned>(c.value));
            return L"color " + key + L" = " + hex;
        }
        std::wstring operator()(const FontDesc& f) const {
            return L"font " + key + L" = " + Quote(f.name) + L", " + FormatSize(f.size) + L", " +
                   std::to_wstring(f.weight) + L", " + (f.italic ? L"1" : L"0") + L", " +
                   (f.underline ? L"1" : L"0") + L", " + (f.strikethrough ? L"1" : L"0") + L", " +
                   std::to_wstring(f.charset);
        }
        std::wstring operator()(const PictureData& p) const {
            static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
            std::wstring hex;
            hex.reserve(p.bitmapFile.size() * 2);
            for (std::uint8_t b : p.bitmapFile) {
                hex += kDigits[b >> 4];
                hex += kDigits[b & 15];
            }
            return L"picture " + key + L" = " + hex;
        }
        const std::wstring& key;
    };
    return std::visit(Formatter{e.key}, e.value);
}

} // namespace

std::vector<StoredBag> ParsePropertyBags(const std::wstring& text) {
    std::vector<StoredBag> bags;
    bool inBlock = false;
    // A byte-order mark that an editor put in front is no part of the first line.
    std::size_t start = !text.empty() && text.front() == L'\uFEFF' ? 1 : 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring_view line(text.data() + start, end - start);
        start = end + 1;

        LineReader in(line);
        if (in.AtEnd())
            continue;
        const std::wstring word = in.Word();
        if (word == L"Begin") {
            const std::wstring name = in.Word();
            inBlock = !name.empty() && in.AtEnd();
            if (inBlock)
                bags.push_back({name, {}});
            continue;
        }
        if (word == L"End") {
            inBlock = false;
            continue;
        }
        if (!inBlock)
            continue;
        const std::wstring key = in.Word();
        if (key.empty() || !in.Take(L'='))
            continue;
        if (auto value = ReadValue(word, in))
            bags.back().bag.Put(key, std::move(*value));
    }
    return bags;
}

std::wstring FormatPropertyBags(const std::vector<StoredBag>& bags) {
    std::wstring text;
    for (const StoredBag& stored : bags) {
        text += L"Begin " + stored.name + L"\n";
        for (const PropertyBag::Entry& e : stored.bag.Entries())
            text += L"  " + FormatEntry(e) + L"\n";
        text += L"End\n";
    }
    return text;
}

PropertyBag FindStoredBag(const std::vector<StoredBag>& bags, const std::wstring& name) {
    for (const StoredBag& stored : bags)
        if (stored.name == name)
            return stored.bag;
    return {};
}

} // namespace host
