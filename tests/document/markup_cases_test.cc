// Runs the vectors of markup.tests through both parsers.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "document/markup.h"
#include "tests/document/vector_format.h"

namespace yomite {
namespace {

using namespace test;

struct MarkupCase {
  std::string dialect, input, text, codes, entries, options, name;
  int result = 0;
  int line_number = 0;
};

std::vector<MarkupCase> read_cases() {
  std::ifstream file(YOMITE_SOURCE_DIR "/tests/document/markup.tests");
  std::vector<MarkupCase> cases;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = split_fields(line);
    if (f.size() != 8) {
      ADD_FAILURE() << "markup.tests:" << number << " has " << f.size() << " fields";
      continue;
    }
    cases.push_back({f[0], f[1], f[2], f[3], f[4], f[6], f[7], std::stoi(f[5]), number});
  }
  return cases;
}

class MarkupCases : public testing::TestWithParam<MarkupCase> {};

TEST_P(MarkupCases, ResolvesAsWritten) {
  const MarkupCase& c = GetParam();
  SCOPED_TRACE("markup.tests:" + std::to_string(c.line_number) + " " + c.name);
  auto view = std::make_unique<ViewContext>();
  std::u16string input = to_utf16(c.input);
  std::vector<char16_t> line(input.begin(), input.end());
  line.push_back(0);
  std::vector<std::uint16_t> codes(input.size() + CODES_SLACK, 0xBEEF);
  int ruby_count = option_value(c.options, "ruby", 0);
  int note_count = option_value(c.options, "notes", 0);
  int ruby_before = ruby_count, note_before = note_count;
  int result;
  if (c.dialect == "brace") {
    result =
        parse_brace_markup(line.data(), codes.data(), view->doc.annotation_texts.data(), ruby_count,
                           view->doc.annotation_texts.data() + NOTE_FIRST_ENTRY, note_count, *view, 0);
  } else {
    std::size_t q = c.options.find("quote=");
    int quote = q == std::string::npos ? QUOTE_OUTSIDE : std::stoi(c.options.substr(q + 6));
    result = parse_bracket_markup(line.data(), codes.data(), view->doc.annotation_texts.data(),
                                  ruby_count, *view, quote);
    if (q != std::string::npos) {
      EXPECT_EQ(quote, std::stoi(c.options.substr(c.options.find('>', q) + 1)));
    }
  }
  std::string text = to_utf8(line.data());
  EXPECT_EQ(text.empty() ? "~" : text, c.text);
  int n = static_cast<int>(std::char_traits<char16_t>::length(line.data()));
  EXPECT_EQ(code_tokens(codes.data(), n, c.codes == ".*"), c.codes);
  for (std::size_t i = static_cast<std::size_t>(n); i < codes.size(); ++i)
    EXPECT_EQ(codes[i], CODE_PLAIN) << "cell " << i << " past the text";
  EXPECT_EQ(entry_tokens(*view), c.entries);
  EXPECT_EQ(result, c.result);
  // Counts advance by the entries made and never pass the limits.
  EXPECT_GE(ruby_count, ruby_before);
  EXPECT_GE(note_count, note_before);
  EXPECT_LE(ruby_count, std::max(ruby_before, RUBY_LIMIT));
  EXPECT_LE(note_count, std::max(note_before, NOTE_LIMIT));
}

INSTANTIATE_TEST_SUITE_P(Vectors, MarkupCases, testing::ValuesIn(read_cases()),
                         [](const testing::TestParamInfo<MarkupCase>& info) {
                           return info.param.dialect + "_line" +
                                  std::to_string(info.param.line_number);
                         });

}  // namespace
}  // namespace yomite
