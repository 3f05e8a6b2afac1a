// Results as data that other tools read: CSV with a header line, quoted as
// RFC 4180 asks, or one JSON array of objects, under fixed English keys.
// Portable: the caller hands the text on to where it is written.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class OutputFormat { Text, Csv, Json };

// A field as CSV holds it: in quotation marks, each doubled, when it holds a
// comma, a quotation mark or a line break; else as it is.
std::wstring CsvField(std::wstring_view text);

// A JSON string, quotation marks included: '"', '\' and the control
// characters escaped, everything else as it is.
std::wstring JsonString(std::wstring_view text);

// Writes records, each a value per key in the keys' order, as they come: the
// CSV header or the array's opening when made, the array's closing at End.
// Lines end in "\n".
class RecordWriter {
public:
    using Sink = std::function<void(std::wstring_view text)>;
    RecordWriter(OutputFormat format, std::span<const wchar_t* const> keys, Sink sink);

    void Add(const std::vector<std::wstring>& values);
    void End();

private:
    OutputFormat format_;
    std::span<const wchar_t* const> keys_; // constants that outlive the writer
    Sink sink_;
    bool any_ = false;
};
