// Book composition's column breaking: where each column of a logical line
// ends, and why.
#include <algorithm>
#include <map>
#include <vector>

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
  int change = 0;  // px its spacing changes: spread, or given up beyond the last mark's own
};

bool found(const Column& c) {
  return c.end >= 0;
}

// Whether a column may end before unit p: also inside a ruby base whose
// reading divides there.
bool may_break(const BookText& t, int p) {
  if (book_break_allowed(t.text, t.codes, t.length, p)) return true;
  return t.codes && p > 0 && p < t.length && t.divides[static_cast<std::size_t>(p)] &&
         book_break_allowed(t.text, nullptr, t.length, p);
}

// Whether a column may end at p: the next one begins after the spaces there.
bool ends_well(const BookText& t, int p) {
  int q = book_skip_spaces(t, p);
  return q >= t.length || may_break(t, q);
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

// Takes in the characters up to place q after the fitting n, if the column
// may end there and its punctuation and spaces can give up the room; the
// change is what anyone sees (the last mark's own space comes free).
Column push_in_to(const BookText& t, BookLine& l, int start, int q, int limit) {
  if ((q < t.length && t.kind[q] == BK_PAIR_TAIL) || !ends_well(t, q)) return {};
  const int over = natural_width(t, l, start, q) - limit;
  if (over > l.shrinkable) return {};
  return {q, book_skip_spaces(t, q), BOOK_BREAK_PUSH_IN, std::max(0, over - l.trailing)};
}

// The first place after n where the column may end, taken in if it can be.
Column push_in(const BookText& t, BookLine& l, int start, int n, int limit) {
  for (int q = n + 1; q <= t.length && q <= n + BOOK_MAX_PUSH_IN; ++q) {
    if ((q < t.length && t.kind[q] == BK_PAIR_TAIL) || !ends_well(t, q)) continue;
    return push_in_to(t, l, start, q, limit);
  }
  return {};
}

// Moves on the characters after place q before n; the column then spreads.
Column push_out_to(const BookText& t, BookLine& l, int start, int q, int limit) {
  return {q, q, BOOK_BREAK_PUSH_OUT, limit - natural_width(t, l, start, q)};
}

// Whether what begins at q can go on whole: a column of `limit` px holds it
// up to a place to break (else it is cut anyway, and better where the column
// ends than after a column left nearly empty).
bool goes_on_whole(const BookText& t, BookLine& l, int q, int limit) {
  const int m = fitting(t, l, q, limit);
  if (book_skip_spaces(t, m) >= t.length) return true;
  for (int p = m; p > q; --p)
    if (may_break(t, p)) return true;
  return false;
}

Column push_out(const BookText& t, BookLine& l, int start, int n, int limit) {
  for (int q = n - 1; q > start; --q) {
    if (!may_break(t, q)) continue;
    return goes_on_whole(t, l, q, limit) ? push_out_to(t, l, start, q, limit) : Column{};
  }
  return {};
}

// One 。、，．｡､ may hang past the end, right after the last character,
// unless what follows it may not begin a column either (。」 never hangs two
// deep).
Column hang(const BookText& t, int start, int n) {
  if (n > start && t.kind[n - 1] != BK_SPACE && book_hangs(t.text[n]) && ends_well(t, n + 1))
    return {n + 1, book_skip_spaces(t, n + 1), BOOK_BREAK_HANG, 0};
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

// Nowhere to break (a word or a run of marks longer than the column): cut
// where the column ends, before a mark that may begin the next one.
Column forced(const BookText& t, int start, int n) {
  int cut = n > start ? keep_pairs(t, start, n) : start + char_units(t.text, start, t.length);
  if (cut < t.length && t.kind[cut] == BK_PAIR_TAIL) ++cut;  // never inside a pair
  int before = cut;
  while (before > start + 1 && before < t.length && t.kind[before] == BK_ASCII &&
         book_no_start(t.text[before]))
    --before;
  if (before < cut && t.kind[before] == BK_ASCII && !book_no_start(t.text[before])) cut = before;
  return {cut, book_skip_spaces(t, cut), BOOK_BREAK_FORCED, 0};
}

// Where the column beginning at `start` ends: where it fits; else taken in
// for free, with a mark hanging, taken in, or pushed out, in that order.
Column next_column(const BookText& t, BookLine& l, int start, int limit) {
  const int n = fitting(t, l, start, limit);
  const int after = book_skip_spaces(t, n);
  if (after >= t.length) return {t.length, t.length, BOOK_BREAK_FITS, 0};
  if (n > start && may_break(t, after)) return {n, after, BOOK_BREAK_FITS, 0};
  Column in = push_in(t, l, start, n, limit);
  if (found(in) && in.change == 0) return in;
  Column c = hang(t, start, n);
  if (found(c)) return c;
  if (found(in)) return in;
  c = push_out(t, l, start, n, limit);
  return found(c) ? c : forced(t, start, n);
}

// Every way the column beginning at `start` may end, for the paragraph's
// best: where it fits, taken in by up to BOOK_MAX_PUSH_IN characters, with a
// mark hanging, or pushed out by up to PUSH_OUT_PLACES places.
constexpr int PUSH_OUT_PLACES = 3;

void column_choices(const BookText& t, BookLine& l, int start, int limit,
                    std::vector<Column>& out) {
  out.clear();
  const int n = fitting(t, l, start, limit);
  const int after = book_skip_spaces(t, n);
  if (after >= t.length) {
    out.push_back({t.length, t.length, BOOK_BREAK_FITS, 0});
    return;
  }
  if (n > start && may_break(t, after))
    out.push_back({n, after, BOOK_BREAK_FITS, limit - natural_width(t, l, start, n)});
  for (int q = n + 1; q <= t.length && q <= n + BOOK_MAX_PUSH_IN; ++q) {
    Column in = push_in_to(t, l, start, q, limit);
    if (found(in)) out.push_back(in);
  }
  Column c = hang(t, start, n);
  if (found(c)) out.push_back(c);
  for (int q = n - 1, places = 0; q > start && places < PUSH_OUT_PLACES; --q) {
    if (!may_break(t, q)) continue;
    if (!goes_on_whole(t, l, q, limit)) break;
    out.push_back(push_out_to(t, l, start, q, limit));
    ++places;
  }
  if (out.empty()) out.push_back(forced(t, start, n));
}

// A column whose characters at their own widths fall short of its length by
// more than a tenth of an em per gap between them reads letter-spaced.
bool loose(const BookText& t, int start, int end, int limit) {
  end = book_trim_spaces(t, start, end);
  long sum = 0;
  int chars = 0;
  for (int k = start; k < end; ++k) {
    sum += t.width[k];
    if (t.kind[k] != BK_PAIR_TAIL) ++chars;
  }
  return 10 * (limit - sum) > static_cast<long>(t.full) * std::max(chars - 1, 0);
}

// What a column costs the paragraph: a loose column above all, then the
// square of its change per gap, pushing in at half the price of spreading
// (a cut through a word longer than the column counts as an em).
constexpr long long LOOSE_COST = 1LL << 40;

long long column_cost(const BookText& t, int start, const Column& c, int limit) {
  if (c.next >= t.length) return 0;  // the paragraph's last column keeps its spacing
  const int gaps = std::max(1, book_trim_spaces(t, start, c.end) - start - 1);
  const long long change = c.reason == BOOK_BREAK_FORCED ? t.full : c.change;
  long long cost = 100LL * change * change / gaps;
  if (c.reason == BOOK_BREAK_PUSH_IN) cost /= 2;
  return loose(t, start, c.end, limit) ? cost + LOOSE_COST : cost;
}

// The columns of the paragraph with the fewest loose ones and the least
// change of spacing over all the ways each may end; false when there is no
// such way without dividing a ruby base.
bool best_columns(const BookText& t, BookLine& l, const BreakLimits& limits,
                  std::vector<Column>& out) {
  struct Way {
    long long cost;
    int from;  // where the column ending here began
    Column column;
  };
  std::map<int, Way> best;  // by the place a column begins
  best[0] = {0, -1, {}};
  std::vector<Column> choices;
  for (auto it = best.begin(); it != best.end() && it->first < t.length; ++it) {
    const int start = it->first;
    const int limit = start == 0 ? limits.first : limits.rest;
    column_choices(t, l, start, limit, choices);
    for (const Column& c : choices) {
      if (c.next < t.length && t.codes && t.codes[c.next] == CONTINUATION_CODE &&
          !t.divides[static_cast<std::size_t>(c.next)])
        continue;
      if (book_trim_spaces(t, start, c.end) <= start) continue;
      const long long cost = it->second.cost + column_cost(t, start, c, limit);
      auto [at, fresh] = best.try_emplace(c.next, Way{cost, start, c});
      if (!fresh && cost < at->second.cost) at->second = {cost, start, c};
    }
  }
  auto end = best.find(t.length);
  if (end == best.end()) return false;
  out.clear();
  for (int p = t.length; p > 0; p = best[p].from) out.push_back(best[p].column);
  std::reverse(out.begin(), out.end());
  return true;
}

// A jukugo reading divides with its kanji. Any other ruby base cut by a
// break keeps above its first part as much of the reading as fits beside it,
// so that column keeps its length; the rest, at least one unit, goes with
// the base to the next column. 0 for no ruby.
int later_share(const ViewContext& v, const BookText& t, int head, int n) {
  if (!is_ruby_code(t.codes[head])) return 0;
  const char16_t* r =
      v.doc.annotation_texts[static_cast<std::size_t>(t.codes[head] - RUBY_CODE_FIRST)];
  const int len = r ? static_cast<int>(std::char_traits<char16_t>::length(r)) : 0;
  if (len == 0) return 0;
  int end = n;
  while (end < t.length && t.codes[end] == CONTINUATION_CODE) ++end;
  const int at = book_reading_division(t.text + head, end - head, r, n - head);
  if (at > 0) return len - at;
  int room = 0;
  for (int k = head; k < n; ++k) room += t.width[k];
  std::vector<int> adv = reading_advances(v.typeset.font_ruby, r, len);
  int keep = 0;
  for (int sum = 0; keep < len - 1 && sum + adv[static_cast<std::size_t>(keep)] <= room; ++keep)
    sum += adv[static_cast<std::size_t>(keep)];
  return len - keep;
}

// Divides the ruby base a break at `next` falls inside, and measures both
// parts' readings again.
void divide_at(ViewContext& v, LayoutPass& pass, BookText& t, std::uint16_t* codes, int start,
               int next) {
  int head = next - 1;
  while (head > start && codes[head] == CONTINUATION_CODE) --head;
  divide_ruby(v, pass, codes + start, next - start, t.length - start,
              later_share(v, t, head, next));
  if (is_ruby_code(codes[head])) book_text_measure_ruby(v, t, head);
  if (is_ruby_code(codes[next])) book_text_measure_ruby(v, t, next);
  t.long_ruby = true;  // the later part may be wider than its base
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
  // Column by column, each where it ends best by itself; a ruby base a
  // forced break falls inside is divided at once, as the columns after it
  // are set with its parts. A jukugo reading is divided once the breaks are
  // settled.
  static std::vector<Column> columns;
  columns.clear();
  bool any_loose = false, divided = false, made = false;
  for (int start = 0; start < length;) {
    const int limit = made ? limits.rest : limits.first;
    Column c = next_column(t, s.line, start, limit);
    if (c.next >= length) break;  // the rest is the last column
    if (line_codes && codes[c.next] == CONTINUATION_CODE &&
        !t.divides[static_cast<std::size_t>(c.next)]) {
      divide_at(v, pass, t, codes, start, c.next);
      divided = true;
    }
    if (book_trim_spaces(t, start, c.end) > start) {  // a column of spaces alone is not made
      any_loose = any_loose || loose(t, start, c.end, limit);
      made = true;
    }
    columns.push_back(c);
    start = c.next;
  }
  // A letter-spaced column is mended over the whole paragraph: an earlier
  // column taken in or pushed out moves the breaks after it.
  if (any_loose && !divided) {
    static std::vector<Column> better;
    if (best_columns(t, s.line, limits, better)) {
      columns.swap(better);
      if (!columns.empty() && columns.back().next >= length) columns.pop_back();
    }
  }
  for (int k = 0, from = 0; k < static_cast<int>(columns.size()); ++k) {
    const int next = columns[static_cast<std::size_t>(k)].next;
    if (line_codes && codes[next] == CONTINUATION_CODE) divide_at(v, pass, t, codes, from, next);
    from = next;
  }
  const int first_line = pass.line_index;
  auto note_start = [&](int start) {
    if (limits.starts) limits.starts->push_back(start);
  };
  int start = 0;
  for (const Column& c : columns) {
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
