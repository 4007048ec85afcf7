// The Pango/Cairo font backend with the IPA fonts: metrics as the layout
// expects them, vertical-face advances and forms, installed families.
#include <gtest/gtest.h>
#include <hb.h>

#include <cstdlib>
#include <string>

#include "layout/fonts.h"
#include "platform/cairo/cairo_font.h"
#include "platform/window.h"

namespace yomite {

void platform::window_client_size(Window*, int* width, int* height) {
  *width = *height = 0;
}

namespace {

struct ViewMetricsCase {
  const char* face;
  int fixed_pitch;
  int half_width;
  int half_is_half;
};

TEST(CairoFonts, ViewMetricsOfTheStandInFaces) {
  const ViewMetricsCase cases[] = {
      {"@ＭＳ ゴシック", 1, 9, 1}, {"ＭＳ ゴシック", 1, 9, 1},    {"@IPAGothic", 1, 9, 1},
      {"@ＭＳ 明朝", 1, 9, 1},     {"@ＭＳ Ｐゴシック", 0, 8, 0},
  };
  for (const ViewMetricsCase& c : cases) {
    SCOPED_TRACE(c.face);
    ViewContext view;
    view.settings.face_name = c.face;
    view.settings.font_size = 18;
    view.settings.ruby_percent = 60;
    view.settings.page_lines = 20;
    create_view_fonts(view);
    EXPECT_EQ(view.typeset.char_height, 18);
    EXPECT_EQ(view.typeset.half_width, c.half_width);
    EXPECT_EQ(view.typeset.fixed_pitch, c.fixed_pitch);
    EXPECT_EQ(view.typeset.half_is_half, c.half_is_half);
    EXPECT_EQ(view.typeset.ruby_height, 10);
    EXPECT_EQ(view.typeset.column_pitch, 30);
    EXPECT_EQ(view.typeset.font_pair_upright != nullptr, view.typeset.vertical && c.fixed_pitch);
    if (view.typeset.vertical) {
      EXPECT_EQ(view.typeset.page_number_height, 12);
    }
    release_document(view);
  }
}

TEST(CairoFonts, CellHeightIsTheRequestedHeight) {
  for (int s = 8; s <= 64; ++s) {
    platform::Font* f = platform::font_create("@ＭＳ ゴシック", s, 2700);
    ASSERT_NE(f, nullptr);
    platform::FontMetrics m;
    ASSERT_EQ(platform::font_metrics(f, &m), 1);
    EXPECT_EQ(m.height, s);
    EXPECT_EQ(m.ascent + m.descent, s);
    if (s == 18) {
      EXPECT_EQ(m.ascent, 16);
      EXPECT_EQ(m.max_char_width, 18);
    }
    platform::font_delete(f);
  }
}

TEST(CairoFonts, NegativeHeightIsTheCharacterHeight) {
  platform::Font* f = platform::font_create("ＭＳ ゴシック", -10, 0);
  platform::FontMetrics m;
  ASSERT_EQ(platform::font_metrics(f, &m), 1);
  EXPECT_EQ(m.height, 10);  // IPA fonts: em = cell
  platform::font_delete(f);
}

TEST(CairoFonts, StandInFamilies) {
  const char* cases[][2] = {{"@ＭＳ ゴシック", "IPAGothic"},
                            {"ＭＳ 明朝", "IPAMincho"},
                            {"ＭＳ Ｐゴシック", "IPAPGothic"},
                            {"NoSuchFamily Xyzzy", "IPAGothic"}};
  for (const auto& c : cases) {
    platform::Font* f = platform::font_create(c[0], 18, 0);
    ASSERT_NE(f, nullptr) << c[0];
    EXPECT_EQ(f->faces[0].family, c[1]) << c[0];
    platform::font_delete(f);
  }
}

int extent_of(platform::Font* f, const std::u16string& text) {
  int along = 0, across = 0;
  platform::font_text_extent(f, text.data(), static_cast<int>(text.size()), &along, &across);
  EXPECT_EQ(across, 18);
  return along;
}

struct AdvanceCase {
  const char16_t* text;
  int vertical;    // "@ＭＳ ゴシック"
  int horizontal;  // "ＭＳ ゴシック"
};

TEST(CairoFonts, AdvancesAlongTheText) {
  platform::Font* v = platform::font_create("@ＭＳ ゴシック", 18, 2700);
  platform::Font* h = platform::font_create("ＭＳ ゴシック", 18, 0);
  const AdvanceCase cases[] = {
      {u"あ", 18, 18},          {u"a", 9, 9},
      {u"A1 é", 36, 36},        {u"ｱ", 9, 9},
      {u"、。「ー", 72, 72},    {u"\U00020B9F", 18, 18},  // 𠮟 from a fallback family
      {u"漢字かなabc", 99, 99},
  };
  for (const AdvanceCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    EXPECT_EQ(extent_of(v, c.text), c.vertical);
    EXPECT_EQ(extent_of(h, c.text), c.horizontal);
  }
  platform::font_delete(v);
  platform::font_delete(h);
}

TEST(CairoFonts, ProportionalFaceHasProportionalColumnAdvances) {
  platform::Font* p = platform::font_create("@ＭＳ Ｐゴシック", 18, 2700);
  EXPECT_LT(extent_of(p, u"。"), 18);
  platform::font_delete(p);
}

// 、。「ー take their vertical forms and stand upright; Latin lies turned.
TEST(CairoFonts, VerticalFormsInTheVerticalFace) {
  platform::Font* f = platform::font_create("@ＭＳ ゴシック", 18, 2700);
  hb_font_t* hb = pango_font_get_hb_font(f->faces[0].east);
  for (char32_t c : {U'、', U'。', U'「', U'ー'}) {
    const platform::ShapedChar& s = platform::shape_char(*f, c);
    hb_codepoint_t nominal = 0;
    ASSERT_TRUE(hb_font_get_nominal_glyph(hb, c, &nominal));
    EXPECT_EQ(s.upright, 1) << static_cast<int>(c);
    EXPECT_EQ(s.face, 0);
    EXPECT_NE(s.glyph, nominal) << static_cast<int>(c);
  }
  EXPECT_EQ(platform::shape_char(*f, U'あ').upright, 1);
  EXPECT_EQ(platform::shape_char(*f, U'a').upright, 0);
  EXPECT_EQ(platform::shape_char(*f, U'ｱ').upright, 0);
  platform::font_delete(f);
}

TEST(CairoFonts, MeasureTextThroughTheCacheWithASurrogatePair) {
  ViewContext view;
  MeasureContext measure{platform::font_create("@ＭＳ ゴシック", 18, 2700)};
  TextExtent e;
  measure_text(measure, u"あ\U00020B9Fa", -1, e, view);
  EXPECT_EQ(e.cx, 18 + 18 + 9);
  axis_probe(measure, view);
  EXPECT_EQ(view.typeset.extent_swapped, 0);
  platform::font_delete(measure.font);
}

TEST(CairoFonts, InstalledFamiliesNeverCountASubstitute) {
  const std::pair<const char*, int> cases[] = {
      {"IPAGothic", 1},     {"IPA Gothic", 1},     {"ipagothic", 1},
      {"IPAゴシック", 1},   {"@IPAGothic", 1},     {"ＭＳ 明朝", 1},  // its stand-in is
      {"Xyzzy Sans 42", 0}, {"@Xyzzy Sans 42", 0}, {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(face_exists(c.first), c.second) << c.first;
}

// The font chooser keeps the face's own name when the user keeps the family
// it showed, whichever of the family's names the chooser answers with.
TEST(CairoFonts, OneFamilyUnderEachOfItsNames) {
  EXPECT_TRUE(platform::same_family("IPAGothic", "IPAゴシック"));
  EXPECT_TRUE(platform::same_family("IPA Gothic", "ipagothic"));
  EXPECT_FALSE(platform::same_family("IPAGothic", "IPAPGothic"));
  EXPECT_FALSE(platform::same_family("IPAゴシック", "IPA明朝"));
  EXPECT_FALSE(platform::same_family("Xyzzy Sans 42", "IPAGothic"));
}

}  // namespace
}  // namespace yomite
