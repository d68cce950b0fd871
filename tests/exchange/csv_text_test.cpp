// CSV text: RFC 4180 quoting written and read back, line numbers of records,
// and texts that are not CSV.

#include <gtest/gtest.h>

#include "exchange/CsvText.h"

namespace orv::exchange {
namespace {

TEST(CsvText, FieldsAreQuotedOnlyWhenNeededAndReadBackUnchanged) {
    struct Case {
        const char* name;
        std::string text;
        std::string written;
    };
    const Case cases[] = {
        {"plain", "White bread", "White bread"},
        {"empty", "", ""},
        {"comma", "Egg, boiled", "\"Egg, boiled\""},
        {"quotes", "the \"good\" one", "\"the \"\"good\"\" one\""},
        {"only a quote", "\"", "\"\"\"\""},
        {"line feed", "line one\nline two", "\"line one\nline two\""},
        {"CRLF", "a\r\nb", "\"a\r\nb\""},
        {"spaces kept", "  padded  ", "  padded  "},
        {"UTF-8",
         "Gr\xC3\xB6\xC3\x9F"
         "e \xE2\x82\xAC",
         "Gr\xC3\xB6\xC3\x9F"
         "e \xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CsvField(c.text), c.written) << c.name;
        const std::string record = CsvRecord({c.text, "x"});
        EXPECT_EQ(record, c.written + ",x\r\n") << c.name;
        const CsvParse parsed = ParseCsv(record + record);
        ASSERT_TRUE(parsed.error.empty()) << c.name << ": " << parsed.error;
        ASSERT_EQ(parsed.rows.size(), 2u) << c.name;
        EXPECT_EQ(parsed.rows[1].fields, (std::vector<std::string>{c.text, "x"})) << c.name;
    }
}

TEST(CsvText, RecordsKnowTheLineTheyStartOn) {
    const std::string text =
        "\xEF\xBB\xBF"
        "a,b\r\n"                // 1
        "\"two\nlines\",c\n"     // 2-3
        "\n"                     // 4: blank
        "d,\"x\r\ny\r\nz\"\r\n"  // 5-7
        "e,f";                   // 8, no line end
    const CsvParse parsed = ParseCsv(text);
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    ASSERT_EQ(parsed.rows.size(), 4u);
    EXPECT_EQ(parsed.rows[0].fields, (std::vector<std::string>{"a", "b"})) << "the byte order mark is skipped";
    const int lines[] = {1, 2, 5, 8};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(parsed.rows[i].line, lines[i]) << "record " << i;
}

TEST(CsvText, MalformedTextIsRefusedWithItsLine) {
    struct Case {
        const char* name;
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"quote inside an unquoted field", "a,b\r\nc,d\"e\r\n", 2},
        {"text after a closing quote", "\"a\"b,c\r\n", 1},
        {"quoted field never closed", "a\r\nb,\"open\r\nstill open\r\n", 3},
    };
    for (const Case& c : cases) {
        const CsvParse parsed = ParseCsv(c.text);
        EXPECT_FALSE(parsed.error.empty()) << c.name;
        EXPECT_EQ(parsed.errorLine, c.line) << c.name;
    }
}

}  // namespace
}  // namespace orv::exchange
