// The view record: creation defaults, the growth of the display-line array and
// the release step.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_font.h"
#include "platform/fake/fake_trace.h"
#include "trace/trace.h"
#include "view/view_context.h"

namespace yomite {
namespace {

TEST(ViewContext, CreationDefaults) {
  ViewContext* v = create_view_context();
  EXPECT_EQ(v->settings.text_color, 0x000000u);
  EXPECT_EQ(v->settings.back_color, 0xFFFFFFu);
  EXPECT_EQ(v->settings.link_color, 0x00FF00u);
  EXPECT_EQ(v->typeset.char_height, 18);
  EXPECT_EQ(v->typeset.ruby_height, 7);
  EXPECT_EQ(v->typeset.column_pitch, 27);
  EXPECT_EQ(v->typeset.fixed_pitch, 1);
  EXPECT_EQ(v->settings.smooth_scroll, 1);
  EXPECT_EQ(v->settings.smooth_dots, 4);
  EXPECT_EQ(v->settings.code_page, 1);
  EXPECT_EQ(v->settings.markup_enabled, 1);
  EXPECT_EQ(v->settings.justify, 1);
  EXPECT_EQ(v->doc.locked, 0);
  EXPECT_EQ(v->doc.loaded, 0);
  EXPECT_EQ(v->doc.line_count, 0);
  EXPECT_EQ(v->doc.lines, nullptr);
  EXPECT_EQ(v->viewport.window, nullptr);
  EXPECT_EQ(v->typeset.font_main, nullptr);
  for (char16_t* entry : v->doc.annotation_texts) ASSERT_EQ(entry, nullptr);
  destroy_view_context(v);
}

// A document of `count` lines with texts, codes, annotations, a width cache
// and all five fonts, as a full load leaves it.
void fill_document(ViewContext& v, int count) {
  ASSERT_EQ(begin_display_lines(v), 1);
  for (int j = 0; j < count; ++j) {
    DisplayLine* line = display_line_slot(v, j);
    ASSERT_NE(line, nullptr);
    line->flags = DL_PARAGRAPH_END;
    std::uint16_t codes[2] = {65, 65};
    ASSERT_EQ(set_line_text(v.doc.arena, *line, u"本文", 2, j % 2 ? codes : nullptr, 2), 1);
  }
  v.doc.line_count = count;
  v.doc.annotation_texts[0] = arena_copy_text(v.doc.arena, u"ほん", 2);
  v.doc.annotation_texts[NOTE_FIRST_ENTRY] =
      arena_copy_text(v.doc.arena, u"\x0001https://example.org", 20);
  v.typeset.width_cache = static_cast<std::uint16_t*>(alloc_zeroed(65536 * sizeof(std::uint16_t)));
  for (platform::Font** f :
       {&v.typeset.font_main, &v.typeset.font_page_number, &v.typeset.font_ruby,
        &v.typeset.font_emphasis, &v.typeset.font_pair_upright})
    *f = fake::new_font("@ＭＳ ゴシック", 18, 2700);
}

TEST(ReleaseDocument, FreesEverythingAndIsSafeTwice) {
  ViewContext v;
  int fonts_before = fake::live_fonts();
  fill_document(v, 120);
  v.viewport.top_line = 33;
  v.doc.file_name = "/tmp/a.txt";
  release_document(v);
  EXPECT_EQ(v.doc.lines, nullptr);
  EXPECT_EQ(v.doc.line_count, 0);
  EXPECT_EQ(v.typeset.width_cache, nullptr);
  EXPECT_EQ(v.doc.annotation_texts[0], nullptr);
  EXPECT_EQ(v.doc.annotation_texts[NOTE_FIRST_ENTRY], nullptr);
  EXPECT_EQ(v.doc.arena.base, nullptr);
  EXPECT_EQ(fake::live_fonts(), fonts_before) << "all five fonts deleted";
  for (platform::Font* f : {v.typeset.font_main, v.typeset.font_page_number, v.typeset.font_ruby,
                            v.typeset.font_emphasis, v.typeset.font_pair_upright})
    EXPECT_EQ(f, nullptr);
  EXPECT_EQ(v.viewport.top_line, 33) << "the scroll position survives a reload";
  EXPECT_EQ(v.doc.file_name, "/tmp/a.txt");
  release_document(v);  // nothing left to free twice (ASan would tell)
  EXPECT_EQ(fake::live_fonts(), fonts_before);
}

TEST(ReleaseDocument, MarkBecomesThePageOfTheFirstMarkedLine) {
  ViewContext v;
  v.settings.page_lines = 20;
  fill_document(v, 100);
  v.doc.lines[57].flags |= DL_MARK;
  v.doc.lines[90].flags |= DL_MARK;
  release_document(v);
  EXPECT_EQ(v.viewport.mark_page, 3);
  // A reload releases twice (the command, then the open step): the page stays.
  release_document(v);
  EXPECT_EQ(v.viewport.mark_page, 3);
  fill_document(v, 100);  // laid out again, the mark not restored
  release_document(v);
  EXPECT_EQ(v.viewport.mark_page, 0) << "a document without a marked line has no mark";
}

bool is_zero(const DisplayLine& line) {
  static const DisplayLine zero{};
  return std::memcmp(&line, &zero, sizeof line) == 0;
}

// The array grows in place (a load in slices writes records while paints read
// the earlier ones), keeps what was written, and every record past the
// written ones reads as zero, up to the last usable one.
TEST(DisplayLines, GrowInPlaceKeepingRecordsAndZeroPastThem) {
  ViewContext v;
  ASSERT_EQ(begin_display_lines(v), 1);
  EXPECT_GE(v.doc.line_capacity, LINES_INITIAL);
  DisplayLine* const start = v.doc.lines;
  const int written = 40000;
  for (int i = 0; i < written; ++i) {
    DisplayLine* slot = display_line_slot(v, i);
    ASSERT_NE(slot, nullptr) << i;
    ASSERT_TRUE(is_zero(*slot)) << "record " << i << " before it was written";
    slot->flags = static_cast<std::uint16_t>(i);
  }
  EXPECT_EQ(v.doc.lines, start) << "the array never moves";
  ASSERT_GE(v.doc.line_capacity, written + LINES_HEADROOM);
  for (int i = 0; i < written; ++i)
    ASSERT_EQ(v.doc.lines[i].flags, static_cast<std::uint16_t>(i)) << i;
  for (int i = written; i < v.doc.line_capacity; ++i) ASSERT_TRUE(is_zero(v.doc.lines[i])) << i;
  // A new load starts over with zero records.
  ASSERT_EQ(begin_display_lines(v), 1);
  EXPECT_TRUE(is_zero(v.doc.lines[0]));
  EXPECT_TRUE(is_zero(v.doc.lines[v.doc.line_capacity - 1]));
  release_document(v);
  EXPECT_EQ(v.doc.line_reserve_bytes, 0u);
}

TEST(DisplayLines, GrowBeforeTheLastTenRecordsOnlyForTheNextOnes) {
  ViewContext v;
  ASSERT_EQ(begin_display_lines(v), 1);
  const int usable = v.doc.line_capacity;
  ASSERT_NE(display_line_slot(v, usable - LINES_HEADROOM - 1), nullptr);
  EXPECT_EQ(v.doc.line_capacity, usable);
  ASSERT_NE(display_line_slot(v, usable - LINES_HEADROOM), nullptr);
  EXPECT_GE(v.doc.line_capacity, usable + LINES_GROWTH);
  EXPECT_EQ(display_line_slot(v, v.doc.line_capacity * 3), nullptr)
      << "only the next records can be written";
  EXPECT_NE(display_line_slot(v, usable), nullptr) << "a refused index leaves the array usable";
  EXPECT_EQ(display_line_slot(v, -1), nullptr);
  release_document(v);
}

// Every line a load lays out up to its line limit fits, with room for what
// follows the limit's last check; past the reservation an append fails as
// when memory runs out, and keeps failing, never writing outside it.
TEST(DisplayLines, AppendsFailAtTheEndOfTheReservation) {
  ViewContext v;
  ASSERT_EQ(begin_display_lines(v), 1);
  int i = 0;
  while (display_line_slot(v, i)) ++i;
  EXPECT_GE(i, DOCUMENT_MAX_LINES + 65536);
  EXPECT_EQ(i, v.doc.line_capacity - LINES_HEADROOM);
  EXPECT_EQ(static_cast<std::size_t>(v.doc.line_capacity) * sizeof(DisplayLine),
            v.doc.line_reserve_bytes)
      << "all of the reservation is used";
  EXPECT_EQ(display_line_slot(v, i), nullptr);
  DisplayLine* last = display_line_slot(v, i - 1);
  ASSERT_NE(last, nullptr);
  last->flags = DL_MARK;  // the last usable record is writable
  EXPECT_TRUE(is_zero(v.doc.lines[v.doc.line_capacity - 1]));
  release_document(v);
}

TEST(AllocZeroed, LargeBlocksAreTraced) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  void* small = alloc_zeroed(10000);
  EXPECT_TRUE(fake::trace_messages().empty()) << "10000 bytes is not above the limit";
  void* big = alloc_zeroed(10001);
  ASSERT_EQ(fake::trace_messages().size(), 1u);
  EXPECT_EQ(fake::trace_messages()[0].rfind("malloc 10001 ", 0), 0u);
  EXPECT_EQ(static_cast<unsigned char*>(big)[10000], 0);
  std::free(small);
  std::free(big);
  trace_shutdown();
}

// The full notation's fields live beside the records: set in any order,
// changed and cleared, each line reads its own and the others read zero;
// a new load starts with none.
TEST(DisplayLines, NotationsAreKeptPerLineBesideTheRecords) {
  ViewContext v;
  ASSERT_EQ(begin_display_lines(v), 1);
  Document& d = v.doc;
  for (int i = 0; i < 6; ++i) ASSERT_NE(display_line_slot(v, i), nullptr);
  d.line_count = 6;
  ASSERT_EQ(set_line_notation(d, d.lines[4], {36, 54, 0, 0}), 1);
  ASSERT_EQ(set_line_notation(d, d.lines[1], {18, 18, 2, 5}), 1);
  ASSERT_EQ(set_line_notation(d, d.lines[2], {}), 1);
  EXPECT_EQ(d.lines[2].flags & DL_NOTATION, 0) << "nothing to note, no entry";
  const LineNotation one = line_notation(d, d.lines[1]), four = line_notation(d, d.lines[4]);
  EXPECT_EQ(one.indent, 18);
  EXPECT_EQ(one.heading_from, 2);
  EXPECT_EQ(one.heading_to, 5);
  EXPECT_EQ(four.shortened, 54);
  for (int i : {0, 2, 3, 5}) EXPECT_EQ(line_notation(d, d.lines[i]).indent, 0) << i;
  ASSERT_EQ(set_line_notation(d, d.lines[4], {72, 72, 0, 0}), 1);
  EXPECT_EQ(line_notation(d, d.lines[4]).indent, 72);
  EXPECT_EQ(line_notation(d, d.lines[1]).indent, 18);
  ASSERT_EQ(set_line_notation(d, d.lines[1], {}), 1);
  EXPECT_EQ(line_notation(d, d.lines[1]).heading_to, 0);
  EXPECT_EQ(d.notations.size(), 1u);
  // A record rewritten by a load drops its flag; it reads zero again.
  d.lines[4].flags = DL_PARAGRAPH_END;
  EXPECT_EQ(line_notation(d, d.lines[4]).indent, 0);
  ASSERT_EQ(begin_display_lines(v), 1);
  EXPECT_TRUE(v.doc.notations.empty());
}

TEST(DisplayLines, CodesFollowTheTextOnlyWhenGiven) {
  Document doc;
  DisplayLine line{};
  line.flags = DL_PARAGRAPH_END;
  const std::uint16_t codes[4] = {65, 64, 0, 16};  // one more code than characters
  ASSERT_EQ(set_line_text(doc.arena, line, u"漢字かなXX", 3, codes, 4), 1);
  EXPECT_EQ(std::u16string(line_text(doc, line)), u"漢字か");
  const std::uint16_t* got = line_codes(doc, line);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(std::vector<std::uint16_t>(got, got + 4), std::vector<std::uint16_t>(codes, codes + 4));
  EXPECT_EQ(line.flags, DL_PARAGRAPH_END | DL_CODES);
  // A NUL inside the text ends it; the codes are still found after it.
  ASSERT_EQ(set_line_text(doc.arena, line, u"ab\0cd", 5, codes, 4), 1);
  EXPECT_EQ(line_length(doc, line), 2);
  EXPECT_EQ(line_codes(doc, line)[0], 65);
  EXPECT_EQ(line_codes(doc, line)[3], 16);
  // Laid again without markup: no codes, the other flags kept.
  ASSERT_EQ(set_line_text(doc.arena, line, u"abc", 3), 1);
  EXPECT_EQ(line_codes(doc, line), nullptr);
  EXPECT_EQ(line.flags, DL_PARAGRAPH_END);
}

// Copies stay where they were made while the arena grows past what was
// usable (a copy of twice the growth step), each is found again at its
// offset, none at offset 0 (no text), and a cleared arena starts over.
TEST(TextArena, CopiesStayInPlaceAndAreFoundByOffset) {
  TextArena arena;
  std::u16string big(ARENA_GROWTH_BYTES, u'x');
  char16_t* a = arena_copy_text(arena, u"abc", 3);
  const std::size_t first_usable = arena.usable;
  char16_t* b = arena_copy_text(arena, big.data(), big.size());
  const std::uint16_t codes[2] = {65, 64};
  char16_t* c = arena_copy_text_codes(arena, u"def", 3, codes, 2);
  EXPECT_GT(arena.usable, first_usable);
  EXPECT_NE(arena_offset(arena, a), 0u);
  for (char16_t* copy : {a, b, c}) EXPECT_EQ(arena_at(arena, arena_offset(arena, copy)), copy);
  EXPECT_EQ(std::u16string(a), u"abc");
  EXPECT_EQ(std::u16string(b), big);
  EXPECT_EQ(std::u16string(c), u"def");
  EXPECT_EQ(c[4], 65);
  EXPECT_EQ(c[5], 64);
  arena_clear(arena);
  EXPECT_EQ(arena.base, nullptr);
  EXPECT_EQ(std::u16string(arena_copy_text(arena, u"g", 1)), u"g");
}

}  // namespace
}  // namespace yomite
