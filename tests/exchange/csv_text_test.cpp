// CSV text: RFC 4180 quoting written and read back with the lines records
// start on, and texts that are not CSV.

#include <gtest/gtest.h>

#include <algorithm>

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
        // After a byte order mark, then a blank line, then without a line end.
        const std::string text = "\xEF\xBB\xBF" + record + "\r\n" + record.substr(0, record.size() - 2);
        const CsvParse parsed = ParseCsv(text);
        ASSERT_TRUE(parsed.error.empty()) << c.name << ": " << parsed.error;
        ASSERT_EQ(parsed.rows.size(), 2u) << c.name;
        for (const CsvRow& row : parsed.rows) EXPECT_EQ(row.fields, (std::vector<std::string>{c.text, "x"})) << c.name;
        const auto breaks = static_cast<int>(std::count(c.text.begin(), c.text.end(), '\n'));
        EXPECT_EQ(parsed.rows[1].line, 3 + breaks) << c.name << ": the line the second record starts on";
    }
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
