// The two back ends of the printer: what each makes of the same report.
#include <QJsonArray>

#include <gtest/gtest.h>

#include <sstream>

#include "printer.h"

namespace marrowick::inspect::test {
namespace {

// A report of every form the tool uses: headed and unheaded values, a nested
// record, a table, and a list of sections.
void Report(Printer& p) {
    p.BeginRecord();
    p.Value("name", QStringLiteral("Caf\u00E9 \"1\"\n\tnext\x1B[31m"), "Name");
    p.Value("hidden", 42);
    p.Value("flag", true, "flagged");
    p.Value("off", false, "never shown");
    p.Value("nothing", QJsonValue(QJsonValue::Null), "Nothing");
    p.BeginRecord("inner");
    p.Value("n", -1);
    p.EndRecord();
    p.BeginList("rows", "Rows");
    for (int i : {7, 12345}) {
        p.BeginRecord();
        p.Value("id", i, "Id");
        p.Value("pair", QJsonArray{QStringLiteral("AB"), QStringLiteral("CD")}, "Pair");
        p.Value("last", QStringLiteral("x"), "Last");
        p.EndRecord();
    }
    p.EndList();
    p.BeginList("sections", "Sections");
    p.BeginRecord();
    p.Value("title", QStringLiteral("first"), "Title");
    p.BeginList("items");
    p.EndList();
    p.EndRecord();
    p.EndList();
    p.BeginList("empty", "Empty");
    p.EndList();
    p.EndRecord();
}

TEST(Printer, JsonKeepsTheOrderOfTheReportAndEscapesText) {
    std::ostringstream out;
    Report(*MakeJsonPrinter(out));
    EXPECT_EQ(out.str(),
              "{\"name\": \"Caf\xC3\xA9 \\\"1\\\"\\n\\tnext\\u001b[31m\", \"hidden\": 42, "
              "\"flag\": true, \"off\": false, \"nothing\": null, \"inner\": {\"n\": -1}, "
              "\"rows\": [{\"id\": 7, \"pair\": [\"AB\", \"CD\"], \"last\": \"x\"}, "
              "{\"id\": 12345, \"pair\": [\"AB\", \"CD\"], \"last\": \"x\"}], "
              "\"sections\": [{\"title\": \"first\", \"items\": []}], \"empty\": []}\n");
}

TEST(Printer, TextShowsHeadedValuesAlignedAndNoControlCharacters) {
    std::ostringstream out;
    Report(*MakeTextPrinter(out));
    EXPECT_EQ(out.str(),
              "Name: Caf\xC3\xA9 \"1\"  next [31m  flagged\n"
              "  Rows:\n"
              "    Id     Pair   Last\n"
              "    7      AB CD  x\n"
              "    12345  AB CD  x\n"
              "  Sections:\n"
              "    Title: first\n"
              "  Empty: none\n");
}

}  // namespace
}  // namespace marrowick::inspect::test
