// Cutting a logical line into display lines: the width walk, hanging
// punctuation, the Latin word rule, opening brackets, ruby division.
#include <cctype>
#include <cstdint>
#include <cstring>

#include "decode/utf16.h"
#include "layout/break.h"
#include "layout/break_steps.h"
#include "layout/composition.h"
#include "layout/small_text.h"
#include "trace/trace.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

// Width of the character at text[i] for the break walk. A fixed-pitch face
// whose full width is two half cells is counted, not measured. The second
// unit of a surrogate pair is worth nothing: the pair was counted whole.
int walk_width(ViewContext& v, LayoutPass& pass, const char16_t* text, int i, int length,
               const std::uint16_t* small) {
  if (small && is_sized_code(small[i])) return sized_char_width(v, small[i], text, i, length);
  char16_t c = text[i];
  if (is_low_surrogate(c) && i > 0 && is_high_surrogate(text[i - 1])) return 0;
  if (v.typeset.fixed_pitch == 1 && v.typeset.half_is_half == 1)
    return c < 0x100 || c >= 0xFF60 ? pass.half_cell : 2 * pass.half_cell;
  TextExtent e;
  measure_text(*pass.measure, text + i, char_units(text, i, length), e, v);
  return e.cx;
}

// Whether the measured width of the run is at most `limit`. The widths come
// from the cache, so summing in chunks and stopping early gives the same
// answer as measuring the whole run, without measuring a long paragraph once
// per column.
bool run_fits(ViewContext& v, LayoutPass& pass, const char16_t* text, int length, int limit,
              const std::uint16_t* small) {
  if (small) {  // warichu: character by character, some at the ruby size
    long sum = 0;
    for (int i = 0; i < length; ++i)
      if ((sum += walk_width(v, pass, text, i, length, small)) > limit) return false;
    return true;
  }
  MeasureContext& measure = *pass.measure;
  constexpr int CHUNK = 64;
  long sum = 0;
  for (int i = 0; i < length;) {
    int n = length - i < CHUNK ? length - i : CHUNK;
    if (n < length - i && is_high_surrogate(text[i + n - 1])) ++n;  // keep a pair in one chunk
    TextExtent e;
    measure_text(measure, text + i, n, e, v);
    sum += e.cx;
    if (sum > limit) return false;
    i += n;
  }
  return true;
}

// The first character that does not fit: how many characters fit in `limit`.
int fitting_count(ViewContext& v, LayoutPass& pass, const char16_t* text, int length, int limit,
                  const std::uint16_t* small) {
  int n = 0, sum = 0;
  while (n < length) {
    int w = walk_width(v, pass, text, n, length, small);
    if (sum + w > limit) break;
    sum += w;
    ++n;
  }
  // Never between the two halves of a surrogate pair.
  if (n > 0 && n < length && is_low_surrogate(text[n]) && is_high_surrogate(text[n - 1])) --n;
  return n;
}

// Letters, digits and the punctuation that belongs to a Latin word.
bool is_word_char(char16_t c) {
  return c < 0x80 && (std::isalnum(c) || c == u'_' || c == u'"' || c == u'.' || c == u'?' ||
                      c == u'!' || c == u'\'');
}

// Moves the break back to the start of a Latin word cut by it, unless the
// column would then hold fewer than a third of its half-width units.
int keep_latin_word_whole(const char16_t* text, int n, int column_chars) {
  int third = column_chars / 3;
  if (n < third) return n;
  int m = n;
  while (n > 0 && is_word_char(text[n - 1])) {
    --n;
    if (n < third) return m;
  }
  return n;
}

// A column may not end with an opening bracket: up to three move on.
int move_openers(const char16_t* text, int n) {
  for (int moved = 0; n > 0 && moved < MAX_MOVED_OPENERS && is_line_end_forbidden(text[n - 1]);
       ++moved)
    --n;
  return n;
}

// Where the piece ends: the width walk, then hanging punctuation, or the word
// and bracket rules when nothing hangs. Always at least one character.
int break_index(ViewContext& v, LayoutPass& pass, const char16_t* rest, int length, int limit,
                const std::uint16_t* small) {
  int n = fitting_count(v, pass, rest, length, limit, small);
  int hung = 0;
  // Closing punctuation may not begin a column: up to three marks hang.
  while (n < length && hung < MAX_HANGING && is_line_start_forbidden(rest[n])) {
    ++n;
    ++hung;
  }
  if (hung == 0) n = move_openers(rest, keep_latin_word_whole(rest, n, v.settings.column_chars));
  if (n == 0) n = char_units(rest, 0, length);
  return n;
}

}  // namespace

// A ruby base running across the break at `n` gets a share of the reading
// proportional to the base characters after the break.
void divide_ruby(ViewContext& v, LayoutPass& pass, std::uint16_t* codes, int n, int length,
                 int share) {
  if (pass.ruby_count >= RUBY_ENTRIES) return;
  int run = 0;
  while (n + run < length && codes[n + run] == CONTINUATION_CODE) ++run;
  int h = n - 1;
  while (h >= 0 && codes[h] == CONTINUATION_CODE) --h;
  if (h < 0 || !is_ruby_code(codes[h])) return;
  char16_t* reading = v.doc.annotation_texts[codes[h] - RUBY_CODE_FIRST];
  if (!reading) return;
  int len = static_cast<int>(std::char_traits<char16_t>::length(reading));
  if (share <= 0) share = len * (run * 100 / (run + n - h)) / 100;
  if (share == 0) share = 1;
  if (share > len) share = len;  // an empty reading has nothing to give
  int cut = len - share;
  // Never between the two halves of a surrogate pair: the pair goes on.
  if (cut > 0 && is_low_surrogate(reading[cut]) && is_high_surrogate(reading[cut - 1])) {
    --cut;
    ++share;
  }
  char16_t* later = arena_copy_text(v.doc.arena, reading + cut, static_cast<std::size_t>(share));
  if (!later) return;
  reading[cut] = 0;
  v.doc.annotation_texts[pass.ruby_count] = later;
  codes[n] = static_cast<std::uint16_t>(RUBY_CODE_FIRST + pass.ruby_count);
  ++pass.ruby_count;
}

namespace {

// Where `text` starts in the logical line being laid out, or ORIGIN_NONE when
// it is not part of it (an empty column made for a page break).
int origin_offset(const LayoutPass& pass, const char16_t* text) {
  const auto at = reinterpret_cast<std::uintptr_t>(text);
  const auto base = reinterpret_cast<std::uintptr_t>(pass.logical_text);
  if (!pass.logical_text || at < base) return ORIGIN_NONE;
  const std::uintptr_t offset = (at - base) / sizeof(char16_t);
  return offset <= static_cast<std::uintptr_t>(pass.logical_length) ? static_cast<int>(offset)
                                                                    : ORIGIN_NONE;
}

}  // namespace

// Appends one display line: `text_len` characters of text and, with markup,
// `code_len` codes. Returns 0 when the array cannot grow or memory runs out.
int append_line(ViewContext& v, LayoutPass& pass, const char16_t* text, int text_len,
                const std::uint16_t* codes, int code_len, std::uint16_t flags) {
  DisplayLine* line = display_line_slot(v, pass.line_index);
  if (!line) return 0;
  line->flags = flags;
  set_line_notation(v.doc, *line, LineNotation{});
  if (!set_line_text(v.doc.arena, *line, text, static_cast<std::size_t>(text_len), codes,
                     static_cast<std::size_t>(code_len)))
    return 0;
  note_line_origin(v.doc, pass.line_index, origin_offset(pass, text));
  ++pass.line_index;
  return 1;
}

LayoutPass begin_layout_pass(ViewContext& v, MeasureContext& measure) {
  LayoutPass pass;
  pass.measure = &measure;
  trace("cx=%d %d %d  ", v.typeset.half_width * v.settings.column_chars, v.typeset.half_width,
        v.settings.column_chars);
  TextExtent e;
  measure_text(measure, u"a", 1, e, v);
  pass.half_cell = e.cx;
  trace("szhan=%d ", pass.half_cell);
  return pass;
}

int column_length(const ViewContext& v, int quote_state) {
  int length = v.typeset.half_width * v.settings.column_chars;
  if (quote_state) length -= 2 * v.typeset.char_height;  // the indent of a quotation block
  return length;
}

int break_logical_line(ViewContext& v, LayoutPass& pass, const char16_t* text, int length,
                       std::uint16_t* codes, int has_codes, int quote_state) {
  const int limit = column_length(v, quote_state);
  return break_with_limits(v, pass, text, length, codes, has_codes, quote_state,
                           {limit, limit, nullptr});
}

int break_with_limits(ViewContext& v, LayoutPass& pass, const char16_t* text, int length,
                      std::uint16_t* codes, int has_codes, int quote_state,
                      const BreakLimits& limits) {
  return v.typeset.composition->break_line(v, pass, text, length, codes, has_codes, quote_state,
                                           limits);
}

int standard_break_logical_line(ViewContext& v, LayoutPass& pass, const char16_t* text, int length,
                                std::uint16_t* codes, int has_codes, int quote_state,
                                const BreakLimits& limits) {
  const std::uint16_t quote_flag = quote_state ? DL_QUOTE : 0;
  const int first_line = pass.line_index;
  const char16_t* rest = text;
  std::uint16_t* rest_codes = codes;
  int rest_len = length;
  auto limit = [&] { return pass.line_index == first_line ? limits.first : limits.rest; };
  // Warichu characters are narrower: measured one by one (never when off).
  const bool small = has_codes && has_small_text(codes, length);
  auto small_codes = [&] { return small ? rest_codes : nullptr; };
  auto note_start = [&] {
    if (limits.starts) limits.starts->push_back(static_cast<int>(rest - text));
  };
  while (rest_len > 0 && !run_fits(v, pass, rest, rest_len, limit(), small_codes())) {
    int n = break_index(v, pass, rest, rest_len, limit(), small_codes());
    if (n >= rest_len) break;  // everything fits once hanging is counted: the last line
    int piece = n;
    if (rest[n - 1] == u' ') --piece;  // a space at the break belongs to neither column
    if (has_codes && rest_codes[n] == CONTINUATION_CODE)
      divide_ruby(v, pass, rest_codes, n, rest_len);
    // A column that would hold nothing but that space is not made: a blank
    // column inside a paragraph would read as a paragraph break.
    if (piece > 0) {
      note_start();
      if (!append_line(v, pass, rest, piece, has_codes ? rest_codes : nullptr, piece, quote_flag))
        return 0;
    }
    rest += n;
    rest_codes += n;
    rest_len -= n;
  }
  // The last display line (an empty logical line is one empty display line);
  // its codes include the trailing space that is dropped from its text.
  int text_len = rest_len > 0 && rest[rest_len - 1] == u' ' ? rest_len - 1 : rest_len;
  if (text_len == 0 && rest_len > 0 && pass.line_index > first_line) {
    // Only a space is left (one that followed three hanging marks): the
    // paragraph ends with the column before it.
    v.doc.lines[pass.line_index - 1].flags |= DL_PARAGRAPH_END;
    return 1;
  }
  note_start();
  return append_line(v, pass, rest, text_len, has_codes ? rest_codes : nullptr, rest_len,
                     DL_PARAGRAPH_END | quote_flag);
}

}  // namespace yomite
