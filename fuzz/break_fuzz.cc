// Column breaking over arbitrary lines, codes and column lengths (fake fonts),
// in standard or book composition: it always ends, never makes
// an empty piece of a non-empty line, never splits a surrogate pair, loses no
// character but the spaces it is allowed to drop, and keeps the codes with
// their characters. Book composition's columns also keep to their length,
// one hanging mark aside, unless a single character is wider.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/utf16.h"
#include "fuzz/fuzz_check.h"
#include "layout/book.h"
#include "layout/break.h"
#include "layout/composition.h"
#include "platform/fake/fake_font.h"
#include "view/attr_codes.h"

using yomite::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  if (size < 4) return 0;
  ViewContext v;
  v.settings.column_chars = 1 + data[0] % 200;
  v.typeset.fixed_pitch = data[1] & 1;
  v.typeset.half_is_half = (data[1] >> 1) & 1;
  v.settings.justify = (data[1] >> 2) & 1;
  int quote = (data[1] >> 3) & 1;
  bool with_codes = (data[1] >> 4) & 1;
  v.typeset.char_height = 18;
  v.typeset.half_width = 9;
  v.typeset.font_main =
      fake::new_font(data[1] & 0x20 ? "@ＭＳ Ｐゴシック" : "@ＭＳ ゴシック", 18, 2700);
  v.typeset.font_ruby = fake::new_font("@ＭＳ ゴシック", 9, 2700);
  const bool book = (data[1] >> 6) & 1;
  v.settings.book_composition = book ? 1 : 0;
  v.typeset.composition = book ? &BOOK_COMPOSITION : &STANDARD_COMPOSITION;
  MeasureContext measure{v.typeset.font_main};
  data += 2;
  size -= 2;

  // Units: each byte pair is one unit drawn from a small alphabet that holds
  // the interesting classes, or taken as it is.
  static const char16_t alphabet[] = u"漢あ、。」「（ aZ1!?ｱ\xD842\xDF9F\x3000";
  // Book composition's classes too: dashes, ellipses, small kana, digits.
  static const char16_t book_alphabet[] = u"漢あ、。」「（ aZ1!?ｱ\xD842\xDF9F\x3000―…ーっ？１・";
  const char16_t* letters = book ? book_alphabet : alphabet;
  const std::size_t letter_count =
      (book ? sizeof book_alphabet : sizeof alphabet) / sizeof(char16_t) - 1;
  // In book composition every ruby has a reading of its own, as the markup
  // gives them (a line's readings are measured once); otherwise all share one.
  std::u16string text;
  std::vector<std::uint16_t> codes;
  int readings = 1;
  for (std::size_t i = 0; i + 1 < size && text.size() < 4000; i += 2) {
    std::uint16_t u = static_cast<std::uint16_t>(data[i] | data[i + 1] << 8);
    text += (u & 0x8000) ? static_cast<char16_t>(u & 0x7FFF) : letters[u % letter_count];
    const int head = book ? readings++ - 1 : 0;
    codes.push_back(static_cast<std::uint16_t>(u >> 12 == 1   ? RUBY_CODE_FIRST + head
                                               : u >> 12 == 2 ? CONTINUATION_CODE
                                                              : 0));
  }
  for (char16_t& c : text)
    if (c <= 0x20) c = u' ';  // the loader has already blanked control characters
  codes.resize(text.size() + 2, 0);
  for (int k = 0; k < readings; ++k)
    v.doc.annotation_texts[static_cast<std::size_t>(k)] =
        arena_copy_text(v.doc.arena, u"よみがなの", 5);

  if (!begin_display_lines(v)) return 0;
  LayoutPass pass = begin_layout_pass(v, measure);
  pass.ruby_count = readings;
  std::vector<std::uint16_t> work = codes;
  check(break_logical_line(v, pass, text.data(), static_cast<int>(text.size()), work.data(),
                           with_codes, quote) == 1);
  v.doc.line_count = pass.line_index;
  check(v.doc.line_count >= 1 && v.doc.line_count <= static_cast<int>(text.size()) + 1);
  check(v.doc.lines[v.doc.line_count - 1].flags & DL_PARAGRAPH_END);

  // Put the lines back together: every character is there, in order, except
  // spaces at the breaks (the one a piece drops, and those that would have
  // made columns of their own).
  std::size_t at = 0;
  std::vector<int> advances;
  auto dropped = [&](char16_t c) { return c == u' ' || (book && c == 0x3000); };
  for (int j = 0; j < v.doc.line_count; ++j) {
    std::u16string piece(line_text(v.doc, v.doc.lines[j]));
    check(!piece.empty() || (v.doc.line_count == 1 && (text.empty() || text == u" ")));
    const std::uint16_t* codes = line_codes(v.doc, v.doc.lines[j]);
    check(!with_codes || codes != nullptr);
    // The piece's characters and codes stand at `p` of the line.
    auto stands_at = [&](std::size_t p) {
      if (text.compare(p, piece.size(), piece) != 0) return false;
      for (std::size_t k = 0; with_codes && k < piece.size(); ++k)
        if (codes[k] != work[p + k]) return false;
      return true;
    };
    while (at < text.size() && dropped(text[at]) && !stands_at(at)) ++at;
    check(stands_at(at));
    check(piece.empty() || !is_low_surrogate(piece[0]) || at == 0 ||
          !is_high_surrogate(text[at - 1]));
    at += piece.size();
    advances.assign(piece.size() + 1, 0);
    justify_display_line(measure, v, j, advances.data());
    for (int a : advances) check(a >= 0);
    if (book) {
      long sum = 0;
      std::size_t end = piece.size();
      while (end > 0 && dropped(piece[end - 1])) --end;
      for (std::size_t k = 0; k < end; ++k) sum += advances[k];
      if (end > 0 && book_hangs(piece[end - 1]) && sum > column_length(v, quote))
        sum -= advances[end - 1];
      const bool one_char = end == 0 || end == static_cast<std::size_t>(char_units(
                                                   piece.data(), 0, static_cast<int>(end)));
      check(sum <= column_length(v, quote) || one_char);
    }
  }
  while (at < text.size() && dropped(text[at])) ++at;  // spaces dropped after the last piece
  check(at == text.size());
  release_document(v);
  return 0;
}
