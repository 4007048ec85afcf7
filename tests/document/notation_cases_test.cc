// Runs the vectors of notation.tests through the full notation.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/aozora.h"
#include "document/markup.h"
#include "tests/document/vector_format.h"

namespace yomite {
namespace {

using namespace test;

struct NotationCase {
  std::string input, text, codes, entries, layout, name, options;
  int result = 0;
  int line_number = 0;
};

std::vector<NotationCase> read_cases() {
  std::ifstream file(YOMITE_SOURCE_DIR "/tests/document/notation.tests");
  std::vector<NotationCase> cases;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = split_fields(line);
    if (f.size() != 7 && f.size() != 8) {
      ADD_FAILURE() << "notation.tests:" << number << " has " << f.size() << " fields";
      continue;
    }
    cases.push_back(
        {f[0], f[1], f[2], f[3], f[4], f[6], f.size() == 8 ? f[7] : "", std::stoi(f[5]), number});
  }
  return cases;
}

std::vector<std::string> input_lines(const std::string& input) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = input.find(" ¶ ", start)) != std::string::npos;
       start = at + std::string(" ¶ ").size())
    lines.push_back(input.substr(start, at - start));
  lines.push_back(input.substr(start));
  return lines;
}

// What a line asks of the layout, as notation.tests writes it.
std::string layout_tokens(const NotationLine& out, int length) {
  std::ostringstream s;
  if (out.indent) s << " indent=" << out.indent;
  if (out.wrap) s << " wrap=" << out.wrap;
  if (out.foot >= 0) s << " foot=" << out.foot << '@' << out.foot_from;
  if (out.heading)
    s << " heading=" << out.heading << ':' << out.heading_from << '-' << out.heading_to;
  if (out.page_break) s << " page";
  if (out.centre_page) s << " centre";
  if (out.annotated && length == 0) s << " gone";
  std::string t = s.str();
  return t.empty() ? "-" : t.substr(1);
}

class NotationCases : public testing::TestWithParam<NotationCase> {};

TEST_P(NotationCases, ResolvesAsWritten) {
  const NotationCase& c = GetParam();
  SCOPED_TRACE("notation.tests:" + std::to_string(c.line_number) + " " + c.name);
  auto view = std::make_unique<ViewContext>();
  view->settings.full_notation = 1;
  view->typeset.vertical = option_value(c.options, "vertical", 0);
  int ruby_count = 0, note_count = option_value(c.options, "notes", 0);
  int quote = QUOTE_OUTSIDE, result = 0, length = 0;
  NotationState state;
  NotationLine out;
  std::vector<char16_t> line;
  std::vector<std::uint16_t> codes;
  for (const std::string& input : input_lines(c.input)) {
    std::u16string units = to_utf16(input);
    line.assign(units.begin(), units.end());
    line.push_back(0);
    codes.assign(units.size() + CODES_SLACK, 0xBEEF);
    result = parse_full_notation(line.data(), codes.data(), view->doc.annotation_texts.data(),
                                 ruby_count, view->doc.annotation_texts.data() + NOTE_FIRST_ENTRY,
                                 note_count, *view, quote, state, out);
    length = static_cast<int>(std::char_traits<char16_t>::length(line.data()));
  }
  std::string text = to_utf8(line.data());
  EXPECT_EQ(text.empty() ? "~" : text, c.text);
  EXPECT_EQ(code_tokens(codes.data(), length, c.codes == ".*"), c.codes);
  EXPECT_EQ(entry_tokens(*view), c.entries);
  EXPECT_EQ(layout_tokens(out, length), c.layout);
  EXPECT_EQ(result, c.result);
  EXPECT_LE(out.heading_to, length);
  EXPECT_LE(out.foot_from, length);
}

INSTANTIATE_TEST_SUITE_P(Vectors, NotationCases, testing::ValuesIn(read_cases()),
                         [](const testing::TestParamInfo<NotationCase>& info) {
                           return "line" + std::to_string(info.param.line_number);
                         });

TEST(FullNotation, OffOrWithoutMarkupTouchesNothing) {
  auto view = std::make_unique<ViewContext>();
  view->settings.markup_enabled = 0;
  std::u16string input = u"［＃改ページ］";
  std::vector<char16_t> line(input.begin(), input.end());
  line.push_back(0);
  std::vector<std::uint16_t> codes(line.size() + CODES_SLACK, 7);
  int ruby = 0, notes = 0, quote = 0;
  NotationState state;
  NotationLine out;
  EXPECT_EQ(parse_full_notation(line.data(), codes.data(), view->doc.annotation_texts.data(), ruby,
                                view->doc.annotation_texts.data() + NOTE_FIRST_ENTRY, notes, *view,
                                quote, state, out),
            0);
  EXPECT_EQ(std::u16string(line.data()), input);
  EXPECT_EQ(codes[0], 7);
  EXPECT_EQ(out.page_break, 0);
}

}  // namespace
}  // namespace yomite
