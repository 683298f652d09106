#include <gtest/gtest.h>

#include "platform/JsonWriter.h"

namespace platform {
namespace {

struct QuotedCase {
  std::string text;
  std::string json;
};

class JsonQuotedTest : public testing::TestWithParam<QuotedCase> {};

TEST_P(JsonQuotedTest, EscapesWhatJsonRequiresAndKeepsUtf8) { EXPECT_EQ(JsonQuoted(GetParam().text), GetParam().json); }

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonQuotedTest,
    testing::Values(QuotedCase{"", R"("")"}, QuotedCase{"Novera LM", R"("Novera LM")"},
                    QuotedCase{R"(SRV\SQLEXPRESS)", R"("SRV\\SQLEXPRESS")"},
                    QuotedCase{R"(plik "a")", R"("plik \"a\"")"}, QuotedCase{"a\r\nb\tc", R"("a\r\nb\tc")"},
                    QuotedCase{"\b\f", R"("\b\f")"},
                    QuotedCase{std::string("\x00\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
                    // The slash and DEL need no escape; Polish letters and
                    // characters beyond the first plane stay as they are.
                    QuotedCase{"/\x7f", "\"/\x7f\""}, QuotedCase{"Źródło łąk", "\"Źródło łąk\""},
                    QuotedCase{"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
                    // Bytes that are no UTF-8: a code page's letter, a cut
                    // sequence, an overlong one, a surrogate, beyond U+10FFFF.
                    QuotedCase{"\xB3k", "\"\xEF\xBF\xBDk\""}, QuotedCase{"a\xC5", "\"a\xEF\xBF\xBD\""},
                    QuotedCase{"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
                    QuotedCase{"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
                    QuotedCase{"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""}));

TEST(JsonWriterTest, NestsMembersAndItemsWithCommasAndIndent) {
  JsonWriter json;
  json.BeginObject()
      .Key("name")
      .String("PC01")
      .Key("code")
      .Number(-3)
      .Key("empty")
      .BeginArray()
      .EndArray()
      .Key("none")
      .Null()
      .Key("items")
      .BeginArray()
      .BeginObject()
      .Key("ok")
      .Bool(true)
      .EndObject()
      .Bool(false)
      .EndArray()
      .Key("lines")
      .Strings({"a", "b"})
      .EndObject();
  EXPECT_EQ(json.Text(),
            "{\n"
            "  \"name\": \"PC01\",\n"
            "  \"code\": -3,\n"
            "  \"empty\": [],\n"
            "  \"none\": null,\n"
            "  \"items\": [\n"
            "    {\n"
            "      \"ok\": true\n"
            "    },\n"
            "    false\n"
            "  ],\n"
            "  \"lines\": [\n"
            "    \"a\",\n"
            "    \"b\"\n"
            "  ]\n"
            "}\n");
}

TEST(JsonWriterTest, EscapesKeysAsTexts) {
  JsonWriter json;
  json.BeginObject().Key("a\"b").Number(1).EndObject();
  EXPECT_EQ(json.Text(), "{\n  \"a\\\"b\": 1\n}\n");
}

}  // namespace
}  // namespace platform
