#include "DataFormat.h"

#include <gtest/gtest.h>

namespace {

// A field, and how CSV and JSON hold it.
struct FieldCase {
    const wchar_t* text;
    const wchar_t* csv;
    const wchar_t* json;
};
const FieldCase kFieldCases[] = {
    {L"C:\\Links\\Ablage", L"C:\\Links\\Ablage", L"\"C:\\\\Links\\\\Ablage\""},
    {L"M\u00FCller, Anna", L"\"M\u00FCller, Anna\"", L"\"M\u00FCller, Anna\""},
    {L"Das \"Team\"", L"\"Das \"\"Team\"\"\"", L"\"Das \\\"Team\\\"\""},
    {L"Tab\there", L"Tab\there", L"\"Tab\\there\""},
    {L"zwei\r\nZeilen", L"\"zwei\r\nZeilen\"", L"\"zwei\\r\\nZeilen\""},
    {L"\x01", L"\x01", L"\"\\u0001\""},
    {L"", L"", L"\"\""},
};

constexpr const wchar_t* kKeys[] = {L"name", L"source"};

// Records written in each format, whole.
struct WriterCase {
    OutputFormat format;
    std::vector<std::vector<std::wstring>> records;
    const wchar_t* written;
};
const WriterCase kWriterCases[] = {
    {OutputFormat::Csv, {}, L"name,source\n"},
    {OutputFormat::Csv, {{L"a", L"\\\\srv\\a"}, {L"b,c", L""}}, L"name,source\na,\\\\srv\\a\n\"b,c\",\n"},
    {OutputFormat::Json, {}, L"[]\n"},
    {OutputFormat::Json,
     {{L"a", L"x"}, {L"b"}},
     L"[\n  {\"name\": \"a\", \"source\": \"x\"},\n  {\"name\": \"b\", \"source\": \"\"}\n]\n"},
};

} // namespace

TEST(DataFormat, FieldsAreQuotedAndEscaped) {
    for (const FieldCase& c : kFieldCases) {
        EXPECT_EQ(CsvField(c.text), c.csv) << c.text;
        EXPECT_EQ(JsonString(c.text), c.json) << c.text;
    }
}

TEST(DataFormat, RecordsMakeOneDocument) {
    for (const WriterCase& c : kWriterCases) {
        std::wstring written;
        RecordWriter writer(c.format, kKeys, [&](std::wstring_view text) { written += text; });
        for (const auto& record : c.records)
            writer.Add(record);
        writer.End();
        EXPECT_EQ(written, c.written);
    }
}
