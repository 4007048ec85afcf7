// Book composition's column breaking: where each column of a logical line
// ends, and why.
#include <algorithm>
#include <climits>

#include "decode/utf16.h"
#include "layout/book.h"
#include "layout/book_line.h"
#include "layout/break_steps.h"
#include "layout/paint_steps.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

// A column [start, end) (spaces at its end dropped); the next begins at `next`.
struct Column {
  int end = -1;
  int next = -1;
  int reason = BOOK_BREAK_FITS;
};

bool found(const Column& c) {
  return c.end >= 0;
}

// Whether a column may end at p: the next one begins after the spaces there.
bool ends_well(const BookText& t, int p) {
  int q = book_skip_spaces(t, p);
  return q >= t.length || book_break_allowed(t.text, t.codes, t.length, q);
}

int natural_width(const BookText& t, BookLine& l, int start, int p) {
  book_line_layout(t, start, book_trim_spaces(t, start, p), l);
  return l.natural;
}

// Units from `start` on that fit in `limit` px at their natural spacing.
int fitting(const BookText& t, BookLine& l, int start, int limit) {
  int sum = 0, m = start;
  bool ruby = false;
  while (m < t.length) {
    const int cut = m > start ? t.cut[m - 1] : 0;
    if (sum - cut + t.width[m] > limit) break;
    sum += t.width[m] - cut;
    ruby = ruby || (t.codes && is_ruby_code(t.codes[m]));
    ++m;
  }
  // A reading wider than its base may widen the column.
  if (ruby && t.long_ruby)
    while (m > start && natural_width(t, l, start, m) > limit) --m;
  if (m > start && m < t.length && t.kind[m] == BK_PAIR_TAIL) --m;  // never inside a pair
  return m;
}

// Takes in the characters up to the first place after n where the column may
// end, if its punctuation can give up the room; `cost` is the change of
// spacing anyone sees (the last mark's own space comes free).
Column push_in(const BookText& t, BookLine& l, int start, int n, int limit, int& cost) {
  for (int q = n + 1; q <= t.length && q <= n + BOOK_MAX_PUSH_IN; ++q) {
    if (q < t.length && t.kind[q] == BK_PAIR_TAIL) continue;
    if (!ends_well(t, q)) continue;
    int over = natural_width(t, l, start, q) - limit;
    if (over > l.shrinkable) return {};
    cost = std::max(0, over - l.trailing);
    return {q, book_skip_spaces(t, q), BOOK_BREAK_PUSH_IN};
  }
  return {};
}

// Moves on the characters after the last place before n where the column may
// end; `cost` is the room the column must then spread over.
Column push_out(const BookText& t, BookLine& l, int start, int n, int limit, int& cost) {
  for (int q = n - 1; q > start; --q) {
    if (!book_break_allowed(t.text, t.codes, t.length, q)) continue;
    cost = limit - natural_width(t, l, start, q);
    return {q, q, BOOK_BREAK_PUSH_OUT};
  }
  return {};
}

// A run of ― or … is cut between its pairs ("――", "……"), never inside one.
int keep_pairs(const BookText& t, int start, int cut) {
  const BookKind k = t.kind[cut - 1];
  if ((k != BK_DASH && k != BK_ELLIPSIS) || t.text[cut] != t.text[cut - 1]) return cut;
  int run = cut - 1;  // where the run begins, maybe in an earlier column
  while (run > 0 && t.text[run - 1] == t.text[cut]) --run;
  return (cut - run) % 2 == 1 && cut - 1 > start ? cut - 1 : cut;
}

// Where the column beginning at `start` ends.
Column next_column(const BookText& t, BookLine& l, int start, int limit) {
  const int n = fitting(t, l, start, limit);
  const int after = book_skip_spaces(t, n);
  if (after >= t.length) return {t.length, t.length, BOOK_BREAK_FITS};
  if (n > start && book_break_allowed(t.text, t.codes, t.length, after))
    return {n, after, BOOK_BREAK_FITS};
  int in_cost = INT_MAX, out_cost = INT_MAX;
  Column in = push_in(t, l, start, n, limit, in_cost);
  if (found(in) && in_cost == 0) return in;
  // One 。、，．｡､ may hang past the end, right after the last character,
  // unless what follows it may not begin a column either (。」 never hangs
  // two deep).
  if (n > start && t.kind[n - 1] != BK_SPACE && book_hangs(t.text[n]) && ends_well(t, n + 1))
    return {n + 1, book_skip_spaces(t, n + 1), BOOK_BREAK_HANG};
  Column out = push_out(t, l, start, n, limit, out_cost);
  if (found(in) && in_cost <= out_cost) return in;
  if (found(out)) return out;
  // Nowhere to break (a word or a run of marks longer than the column).
  int cut = n > start ? keep_pairs(t, start, n) : start + char_units(t.text, start, t.length);
  if (cut < t.length && t.kind[cut] == BK_PAIR_TAIL) ++cut;  // never inside a pair
  return {cut, book_skip_spaces(t, cut), BOOK_BREAK_FORCED};
}

// A ruby base cut by a break keeps above its first part as much of the
// reading as fits beside it, so that column keeps its length; the rest, at
// least one unit, goes with the base to the next column. 0 for no ruby.
int later_share(const ViewContext& v, const BookText& t, int head, int n) {
  if (!is_ruby_code(t.codes[head])) return 0;
  const char16_t* r = v.doc.annotation_texts[static_cast<std::size_t>(t.codes[head] - RUBY_CODE_FIRST)];
  const int len = r ? static_cast<int>(std::char_traits<char16_t>::length(r)) : 0;
  if (len == 0) return 0;
  int room = 0;
  for (int k = head; k < n; ++k) room += t.width[k];
  std::vector<int> adv = reading_advances(v.typeset.font_ruby, r, len);
  int keep = 0;
  for (int sum = 0; keep < len - 1 && sum + adv[static_cast<std::size_t>(keep)] <= room; ++keep)
    sum += adv[static_cast<std::size_t>(keep)];
  return len - keep;
}

}  // namespace

int book_break_logical_line(ViewContext& v, LayoutPass& pass, const char16_t* text, int length,
                            std::uint16_t* codes, int has_codes, int quote_state,
                            const BreakLimits& limits) {
  BookScratch& s = book_scratch(SCRATCH_BREAK);
  BookText& t = s.text;
  std::uint16_t* line_codes = has_codes ? codes : nullptr;
  book_text_fill(*pass.measure, v, t, text, line_codes, length);
  const std::uint16_t quote_flag = quote_state ? DL_QUOTE : 0;
  const int first_line = pass.line_index;
  auto limit = [&] { return pass.line_index == first_line ? limits.first : limits.rest; };
  auto note_start = [&](int start) {
    if (limits.starts) limits.starts->push_back(start);
  };
  int start = 0;
  while (start < length) {
    Column c = next_column(t, s.line, start, limit());
    if (c.next >= length) break;                             // the rest is the last column
    if (line_codes && codes[c.next] == CONTINUATION_CODE) {  // only a forced break
      int head = c.next - 1;
      while (head > start && codes[head] == CONTINUATION_CODE) --head;
      divide_ruby(v, pass, codes + start, c.next - start, length - start,
                  later_share(v, t, head, c.next));
      if (is_ruby_code(codes[head])) book_text_measure_ruby(v, t, head);
      if (is_ruby_code(codes[c.next])) book_text_measure_ruby(v, t, c.next);
      t.long_ruby = true;  // the later part may be wider than its base
    }
    if (pass.book_breaks) pass.book_breaks->push_back({c.next, c.reason});
    const int end = book_trim_spaces(t, start, c.end);
    // A column of nothing but spaces is not made.
    if (end > start) {
      note_start(start);
      if (!append_line(v, pass, text + start, end - start, line_codes ? codes + start : nullptr,
                       end - start, quote_flag))
        return 0;
    }
    start = c.next;
  }
  if (start >= length && length > 0 && pass.line_index > first_line) {
    // Only spaces were left: the paragraph ends with the column before them.
    v.doc.lines[pass.line_index - 1].flags |= DL_PARAGRAPH_END;
    return 1;
  }
  // The last column; as in standard composition, one space at its end is dropped
  // from its text and kept in its codes.
  const int rest = length - start;
  const int text_len = rest > 0 && text[length - 1] == u' ' ? rest - 1 : rest;
  note_start(start);
  return append_line(v, pass, text + start, text_len, line_codes ? codes + start : nullptr, rest,
                     DL_PARAGRAPH_END | quote_flag);
}

}  // namespace yomite
