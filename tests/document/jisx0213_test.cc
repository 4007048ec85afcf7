// The JIS X 0213 table against glibc's charmap, cell by cell: every cell the
// charmap lists (its combining sequences too, which it keeps in comments)
// gives that text, and every other cell gives none.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "document/aozora.h"

namespace yomite {
namespace {

const char* const CHARMAP = "/usr/share/i18n/charmaps/EUC-JISX0213.gz";

int hex_byte(const std::string& s, std::size_t at) {
  return std::stoi(s.substr(at, 2), nullptr, 16);
}

// "<U4E00> /xb0/xa1" and "%<U304B><U309A> /xa4/xf7": text per (plane, row, cell).
std::map<int, std::set<std::u16string>> read_charmap() {
  std::map<int, std::set<std::u16string>> cells;
  std::string cmd = std::string("gzip -dc '") + CHARMAP + "'";
  FILE* in = popen(cmd.c_str(), "r");
  if (!in) return cells;
  char buf[512];
  while (std::fgets(buf, sizeof buf, in)) {
    std::string line = buf;
    std::size_t at = line[0] == '%' ? 1 : 0;
    if (line.compare(at, 2, "<U") != 0) continue;
    std::u16string text;
    while (line.compare(at, 2, "<U") == 0) {
      std::size_t end = line.find('>', at);
      char32_t c =
          static_cast<char32_t>(std::stoul(line.substr(at + 2, end - at - 2), nullptr, 16));
      if (c < 0x10000) {
        text.push_back(static_cast<char16_t>(c));
      } else {
        text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
      }
      at = end + 1;
    }
    std::size_t b = line.find("/x", at);
    if (b == std::string::npos) continue;
    int plane = 1;
    if (hex_byte(line, b + 2) == 0x8F) {
      plane = 2;
      b += 4;
    }
    if (line.compare(b + 4, 2, "/x") != 0) continue;  // one byte: not a cell
    int row = hex_byte(line, b + 2) - 0xA0, cell = hex_byte(line, b + 6) - 0xA0;
    if (row < 1 || row > 94 || cell < 1 || cell > 94) continue;
    cells[(plane * 100 + row) * 100 + cell].insert(text);
  }
  pclose(in);
  return cells;
}

TEST(JisX0213, EveryCellAgreesWithGlibcsCharmap) {
  if (!std::filesystem::exists(CHARMAP)) GTEST_SKIP() << CHARMAP << " missing (package locales)";
  std::map<int, std::set<std::u16string>> charmap = read_charmap();
  ASSERT_GT(charmap.size(), 11000u);
  int mapped = 0;
  for (int plane = 1; plane <= 2; ++plane) {
    for (int row = 1; row <= 94; ++row) {
      for (int cell = 1; cell <= 94; ++cell) {
        std::u16string text = jisx0213_text(plane, row, cell);
        auto it = charmap.find((plane * 100 + row) * 100 + cell);
        if (it == charmap.end()) {
          EXPECT_TRUE(text.empty()) << plane << "-" << row << "-" << cell;
          continue;
        }
        ++mapped;
        EXPECT_TRUE(it->second.count(text)) << plane << "-" << row << "-" << cell;
      }
    }
  }
  EXPECT_EQ(mapped, static_cast<int>(charmap.size()));
}

TEST(JisX0213, CellsOutsideTheTableAreNone) {
  EXPECT_TRUE(jisx0213_text(0, 1, 1).empty());
  EXPECT_TRUE(jisx0213_text(3, 1, 1).empty());
  EXPECT_TRUE(jisx0213_text(1, 0, 1).empty());
  EXPECT_TRUE(jisx0213_text(1, 95, 1).empty());
  EXPECT_TRUE(jisx0213_text(1, 1, 95).empty());
  EXPECT_EQ(jisx0213_text(1, 1, 1), u"\u3000");
  EXPECT_EQ(jisx0213_text(1, 94, 94), u"\u7E6B");
}

TEST(GaijiText, DescriptionForms) {
  EXPECT_EQ(gaiji_text(u"「木＋吶のつくり」、第3水準1-85-54"), u"枘");
  EXPECT_EQ(gaiji_text(u"「木＋吶のつくり」、第３水準１－８５－５４"), u"枘");  // full width
  EXPECT_EQ(gaiji_text(u"「口＋世」、U+546D、ページ数-行数"), u"呭");
  EXPECT_EQ(gaiji_text(u"u+20089"), u"\U00020089");
  EXPECT_TRUE(gaiji_text(u"U+110000").empty());  // beyond Unicode
  EXPECT_TRUE(gaiji_text(u"U+D800").empty());    // a surrogate is no character
  EXPECT_TRUE(gaiji_text(u"U+12").empty());      // too few digits
  EXPECT_TRUE(gaiji_text(u"「土へん＋竒」、ページ数-行数").empty());
  EXPECT_TRUE(gaiji_text(u"1-85-54-3").empty());  // a longer run is no cell
  EXPECT_TRUE(gaiji_text(u"").empty());
}

}  // namespace
}  // namespace yomite
