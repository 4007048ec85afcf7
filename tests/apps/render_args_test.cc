// yomite-render's own flags and the dump format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/yomite-render/dump_lines.h"
#include "apps/yomite-render/render_args.h"

namespace yomite::render {
namespace {

RenderArgs parse(std::vector<const char*> args) {
  args.insert(args.begin(), "yomite-render");
  return parse_render_args(static_cast<int>(args.size()), args.data());
}

TEST(RenderArgs, OwnFlagsTakenViewerArgumentsKeptInOrder) {
  RenderArgs a = parse({"-W30", "--size", "640x480", "/K8", "--dump-lines", "a.txt", "-J2"});
  EXPECT_TRUE(a.error.empty());
  EXPECT_EQ(a.dump_lines, 1);
  EXPECT_EQ(a.width, 640);
  EXPECT_EQ(a.height, 480);
  EXPECT_EQ(a.viewer, (std::vector<std::string>{"yomite-render", "-W30", "/K8", "a.txt", "-J2"}));
}

TEST(RenderArgs, FindAndAtTakeTheirText) {
  RenderArgs a = parse({"--find", "猫", "--at", "3,0,吾輩", "a.txt"});
  EXPECT_TRUE(a.error.empty());
  EXPECT_EQ(a.find, "猫");
  EXPECT_EQ(a.at, "3,0,吾輩");
  EXPECT_EQ(a.viewer, (std::vector<std::string>{"yomite-render", "a.txt"}));
}

TEST(RenderArgs, Refusals) {
  struct Case {
    std::vector<const char*> args;
    const char* error_part;
  };
  const Case cases[] = {
      {{"--frob", "a.txt"}, "unknown flag --frob"},
      {{"a.txt", "--size"}, "--size"},
      {{"--size=0x10", "a.txt"}, "0x10"},
      {{"--size", "640", "a.txt"}, "640"},
      {{"--size", "640x480x2"}, "640x480x2"},
      {{"--size", "99999x10"}, "99999x10"},
      {{"a.txt", "--find"}, "--find wants"},
      {{"--find", "", "a.txt"}, "--find wants"},
      {{"a.txt", "--at"}, "--at wants"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error_part);
    EXPECT_NE(parse(c.args).error.find(c.error_part), std::string::npos);
  }
}

TEST(RenderArgs, SizeForms) {
  int w = 0, h = 0;
  EXPECT_EQ(parse_size("1x1", w, h), 1);
  EXPECT_EQ(parse_size("800X600", w, h), 1);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(parse_size("x600", w, h), 0);
  EXPECT_EQ(parse_size("-8x600", w, h), 0);
  EXPECT_EQ(parse_size("", w, h), 0);
  EXPECT_EQ(w, 800);  // untouched by a refusal
}

TEST(DumpLines, FlagsAndText) {
  char16_t text[] = u"縦\t書き";
  struct Case {
    std::uint16_t flags;
    const char* line;
  };
  const Case cases[] = {
      {0, "7\t-\t縦 書き"},
      {DL_PARAGRAPH_END, "7\tP\t縦 書き"},
      {DL_QUOTE | DL_MARK, "7\tMQ\t縦 書き"},
      {DL_PARAGRAPH_END | DL_MARK | DL_QUOTE, "7\tPMQ\t縦 書き"},
  };
  Document doc;
  for (const Case& c : cases) {
    DisplayLine line{};
    ASSERT_EQ(set_line_text(doc.arena, line, text, std::char_traits<char16_t>::length(text)), 1);
    line.flags = c.flags;
    EXPECT_EQ(format_display_line(doc, 7, line), c.line);
  }
}

}  // namespace
}  // namespace yomite::render
