#include "DataFormat.h"

#include <cstdio>

std::wstring CsvField(std::wstring_view text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring_view::npos)
        return std::wstring(text);
    std::wstring quoted = L"\"";
    for (const wchar_t ch : text) {
        if (ch == L'"')
            quoted += L'"';
        quoted += ch;
    }
    return quoted + L"\"";
}

std::wstring JsonString(std::wstring_view text) {
    std::wstring escaped = L"\"";
    for (const wchar_t ch : text) {
        switch (ch) {
        case L'"':
            escaped += L"\\\"";
            break;
        case L'\\':
            escaped += L"\\\\";
            break;
        case L'\n':
            escaped += L"\\n";
            break;
        case L'\r':
            escaped += L"\\r";
            break;
        case L'\t':
            escaped += L"\\t";
            break;
        default:
            if (ch < 0x20) {
                wchar_t code[8] = {};
                std::swprintf(code, std::size(code), L"\\u%04x", static_cast<unsigned>(ch));
                escaped += code;
            } else {
                escaped += ch;
            }
        }
    }
    return escaped + L"\"";
}

RecordWriter::RecordWriter(OutputFormat format, std::span<const wchar_t* const> keys, Sink sink)
    : format_(format), keys_(keys), sink_(std::move(sink)) {
    if (format_ == OutputFormat::Json) {
        sink_(L"[");
        return;
    }
    std::wstring header;
    for (const wchar_t* key : keys_)
        header += (header.empty() ? L"" : L",") + CsvField(key);
    sink_(header + L"\n");
}

void RecordWriter::Add(const std::vector<std::wstring>& values) {
    std::wstring record;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const std::wstring_view value =
            i < values.size() ? std::wstring_view(values[i]) : std::wstring_view();
        if (format_ == OutputFormat::Json)
            record += (i == 0 ? L"{" : L", ") + JsonString(keys_[i]) + L": " + JsonString(value);
        else
            record += (i == 0 ? L"" : L",") + CsvField(value);
    }
    if (format_ == OutputFormat::Json)
        record = (any_ ? L",\n  " : L"\n  ") + record + L"}";
    else
        record += L"\n";
    any_ = true;
    sink_(record);
}

void RecordWriter::End() {
    if (format_ == OutputFormat::Json)
        sink_(any_ ? L"\n]\n" : L"]\n");
}
