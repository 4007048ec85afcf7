// Checks after every parse: the text is 0-terminated and no longer than
// before; every cell past it is plain; every code is of a known kind; every
// ruby or note code refers to an entry made in this run; a continuation code
// follows a ruby head; the counts never pass the limits; a surrogate pair of
// a well-formed line is never split by a code boundary; markup switched off
// changes nothing.
#include "fuzz/markup_fuzz.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/aozora.h"
#include "document/markup.h"
#include "layout/fonts.h"
#include "view/limits.h"

using yomite::fuzz::check;

namespace yomite {

// The font backend is not linked here: every list resolves to its first face.
void find_installed_face(std::string& list) {
  list = list.substr(0, list.find(';'));
}

namespace fuzz {

namespace {

// Pieces that token bytes pick: markup of both notations and characters of
// the kinds the parsers treat differently.
constexpr std::array<std::u16string_view, 40> TOKENS = {u"｛ルビ ",
                                                        u"｝",
                                                        u"｛/ルビ｝",
                                                        u"｛/｝",
                                                        u"｛脚注 ",
                                                        u"｛/脚注｝",
                                                        u"｛リンク ",
                                                        u"｛/リンク｝",
                                                        u"｛傍点｝",
                                                        u"｛/傍点｝",
                                                        u"｛下線｝",
                                                        u"｛中線２｝",
                                                        u"｛２鎖線太｝",
                                                        u"｛フォント ",
                                                        u"｛幅 ",
                                                        u"｛",
                                                        u"《",
                                                        u"》",
                                                        u"｜",
                                                        u"［＃「",
                                                        u"」に傍点］",
                                                        u"［＃ここから引用文］",
                                                        u"［＃ここより引用文",
                                                        u"［＃引用文ここまで］",
                                                        u"［＃引用文、ここまで］",
                                                        u"［＃ここで引用文終わり］",
                                                        u"］",
                                                        u"々",
                                                        u"漢",
                                                        u"字",
                                                        u"か",
                                                        u"a",
                                                        u" ",
                                                        u",",
                                                        u"12",
                                                        u"@",
                                                        u";",
                                                        u"\U00020B9F",
                                                        u"\xD840",
                                                        u"\xDC00"};

// The full notation's forms besides those above (a table of its own, so the
// saved inputs of the other targets keep their meaning).
constexpr std::array<std::u16string_view, 32> NOTATION_TOKENS = {u"［＃",
                                                                 u"］",
                                                                 u"「",
                                                                 u"」",
                                                                 u"※［＃",
                                                                 u"、第3水準1-85-54",
                                                                 u"U+2000B",
                                                                 u"1-4-87",
                                                                 u"は中見出し",
                                                                 u"大見出し",
                                                                 u"終わり",
                                                                 u"ここから",
                                                                 u"ここで",
                                                                 u"３字下げ",
                                                                 u"折り返して",
                                                                 u"地付き",
                                                                 u"地から２字上げ",
                                                                 u"改ページ",
                                                                 u"に傍点",
                                                                 u"の左に",
                                                                 u"傍線",
                                                                 u"白丸傍点",
                                                                 u"太字",
                                                                 u"割り注",
                                                                 u"は底本では",
                                                                 u"《",
                                                                 u"》",
                                                                 u"｜",
                                                                 u"漢",
                                                                 u"か",
                                                                 u"𠮟",
                                                                 u"Ø40"};

std::vector<char16_t> build_line(const std::uint8_t* data, std::size_t size, bool raw,
                                 bool notation) {
  std::vector<char16_t> line;
  if (raw) {
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      char16_t u = static_cast<char16_t>(data[i] | data[i + 1] << 8);
      line.push_back(u ? u : u'｛');
    }
  } else {
    for (std::size_t i = 0; i < size; ++i) {
      std::u16string_view t = notation ? NOTATION_TOKENS[data[i] % NOTATION_TOKENS.size()]
                                       : TOKENS[data[i] % TOKENS.size()];
      line.insert(line.end(), t.begin(), t.end());
    }
  }
  line.push_back(0);
  return line;
}

bool is_high(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool is_low(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

bool well_formed(const char16_t* s, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (is_high(s[i]) && i + 1 < n && is_low(s[i + 1]))
      ++i;
    else if (is_high(s[i]) || is_low(s[i]))
      return false;
  }
  return true;
}

void check_codes(const ViewContext& view, const std::uint16_t* codes, std::size_t n,
                 std::size_t cells, int rubies_before, int rubies, int notes_before, int notes) {
  for (std::size_t i = 0; i < n; ++i) {
    std::uint16_t c = codes[i];
    if (is_ruby_code(c)) {
      int entry = c - RUBY_CODE_FIRST;
      check(entry >= rubies_before && entry < rubies && view.doc.annotation_texts[entry]);
    } else if (is_note_code(c)) {
      int entry = c - NOTE_CODE_FIRST;
      check(entry >= notes_before && entry < notes &&
            view.doc.annotation_texts[NOTE_FIRST_ENTRY + entry]);
    } else if (c == CONTINUATION_CODE) {
      check(i > 0 && (is_ruby_code(codes[i - 1]) || codes[i - 1] == CONTINUATION_CODE));
    } else {
      check(c == CODE_PLAIN || is_line_style_code(c) || is_sized_code(c));
    }
  }
  for (std::size_t i = n; i < cells; ++i) check(codes[i] == CODE_PLAIN);
}

// Both units of a pair carry one code: the same one, or a ruby head and its continuation.
void check_pairs(const char16_t* s, const std::uint16_t* codes, std::size_t n) {
  check(well_formed(s, n));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (!is_high(s[i])) continue;
    std::uint16_t a = codes[i], b = codes[i + 1];
    bool ruby = is_ruby_code(a) || a == CONTINUATION_CODE;
    check(ruby ? b == CONTINUATION_CODE : a == b);
    ++i;
  }
}

// 0 and 1: none yet; 2: one below the limit; 3: at the limit.
int preset_count(int choice, int limit) {
  return choice < 2 ? 0 : choice == 2 ? limit - 1 : limit;
}

void reset(ViewContext& view) {
  view.doc.annotation_texts.fill(nullptr);
  arena_clear(view.doc.arena);
  view.settings.face_name.clear();
  view.typeset.vertical = view.settings.font_size = view.settings.column_chars = 0;
  view.settings.markup_enabled = 1;
}

// The full notation, its block state carried from input to input; what the
// line asks of the layout stays inside the line and the limits.
int run_full_notation(ViewContext& view, char16_t* line, std::uint16_t* codes, int& rubies,
                      int& notes, int& quote, std::size_t length) {
  static NotationState state;
  view.settings.full_notation = 1;
  NotationLine out;
  NotationState before = state;
  int found = parse_full_notation(line, codes, view.doc.annotation_texts.data(), rubies,
                                  view.doc.annotation_texts.data() + NOTE_FIRST_ENTRY, notes, view,
                                  quote, state, out);
  const int n = static_cast<int>(std::char_traits<char16_t>::length(line));
  check(quote == QUOTE_OUTSIDE || quote == QUOTE_INSIDE || quote == QUOTE_ENDS_HERE);
  check(static_cast<std::size_t>(n) <= length);
  check(out.heading_from >= 0 && out.heading_from <= out.heading_to && out.heading_to <= n);
  check(out.heading >= 0 && out.heading <= HEADING_SMALL);
  check(out.foot_from >= 0 && out.foot_from <= n && out.foot >= -1);
  for (int cells : {out.indent, out.wrap, out.foot, state.indent, state.wrap, state.foot})
    check(cells >= -1 && cells <= NOTATION_CELLS_MAX);
  if (!view.settings.markup_enabled)
    check(state.indent == before.indent && state.heading == before.heading);
  return found;
}

}  // namespace

void run_markup_case(Dialect dialect, const std::uint8_t* data, std::size_t size) {
  static std::unique_ptr<ViewContext> view = std::make_unique<ViewContext>();
  if (size < 1) return;
  std::uint8_t flags = data[0];
  std::vector<char16_t> line = build_line(data + 1, size - 1, flags & 1, dialect == Dialect::full);
  std::size_t length = std::char_traits<char16_t>::length(line.data());
  std::vector<char16_t> before = line;
  std::vector<std::uint16_t> codes(length + CODES_SLACK, 0xBEEF);

  // Bits of the first byte: 0 raw UTF-16, 1 store directives, 2-3 and 4-5
  // counts just below or at the limits, 6 inside a quotation, 7 markup off.
  int rubies = preset_count((flags >> 2) & 3, RUBY_LIMIT);
  int notes = preset_count((flags >> 4) & 3, NOTE_LIMIT);
  int quote = flags & 64 ? QUOTE_INSIDE : QUOTE_OUTSIDE;
  int rubies_before = rubies, notes_before = notes;
  view->settings.markup_enabled = flags & 128 ? 0 : 1;
  bool store = (flags & 2) != 0;

  int found;
  if (dialect == Dialect::brace) {
    found = parse_brace_markup(line.data(), codes.data(), view->doc.annotation_texts.data(), rubies,
                               view->doc.annotation_texts.data() + NOTE_FIRST_ENTRY, notes, *view,
                               store);
  } else if (dialect == Dialect::full) {
    found = run_full_notation(*view, line.data(), codes.data(), rubies, notes, quote, length);
  } else {
    found = parse_bracket_markup(line.data(), codes.data(), view->doc.annotation_texts.data(),
                                 rubies, *view, quote);
    check(quote == QUOTE_OUTSIDE || quote == QUOTE_INSIDE || quote == QUOTE_ENDS_HERE);
  }
  check(found == 0 || found == 1);
  check(rubies >= rubies_before && rubies <= std::max(rubies_before, RUBY_LIMIT));
  check(notes >= notes_before && notes <= std::max(notes_before, NOTE_LIMIT));
  if (!view->settings.markup_enabled) {
    check(found == 0 && line == before && rubies == rubies_before && notes == notes_before);
    check(std::all_of(codes.begin(), codes.end(), [](std::uint16_t c) { return c == 0xBEEF; }));
  } else {
    std::size_t n = std::char_traits<char16_t>::length(line.data());
    check(n <= length);
    check_codes(*view, codes.data(), n, codes.size(), rubies_before, rubies, notes_before, notes);
    if (well_formed(before.data(), length)) check_pairs(line.data(), codes.data(), n);
  }
  // Directive numbers never leave the layout's limits, however large.
  check(std::abs(view->settings.font_size) <= FONT_SIZE_MAX);
  check(std::abs(view->settings.column_chars) <= COLUMN_CHARS_MAX);
  reset(*view);
}

}  // namespace fuzz
}  // namespace yomite
