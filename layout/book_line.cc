// The line model of book composition: natural spacing of a line, and its
// adjustment to the column length.
#include "layout/book_line.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "decode/utf16.h"
#include "layout/paint_steps.h"
#include "layout/small_text.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

bool is_space(BookKind k) {
  return k == BK_SPACE;
}

// Space before and after the ink of unit i, px; only full-width punctuation
// has any.
int space_before(const BookText& t, int i) {
  if (t.width[i] != t.full) return 0;
  if (t.kind[i] == BK_OPENER) return t.full / 2;
  if (t.kind[i] == BK_MIDDLE) return t.full / 4;
  return 0;
}

int space_after(const BookText& t, int i) {
  if (t.width[i] != t.full) return 0;
  switch (t.kind[i]) {
    case BK_CLOSER:
    case BK_COMMA:
    case BK_STOP:
      return t.full / 2;
    case BK_MIDDLE:
      return t.full / 2 - t.full / 4;  // with the space before, half an em
    default:
      return 0;
  }
}

bool closes(BookKind k) {
  return k == BK_CLOSER || k == BK_COMMA || k == BK_STOP;
}

// Space taken out between adjacent punctuation: a closing mark before another
// closing mark, comma or stop is set solid; an opening bracket after another
// is set solid; otherwise two spaces meeting keep the smaller.
int adjacent_reduction(const BookText& t, int i, int after, int before) {
  if (after > 0 && closes(t.kind[i + 1])) return after;
  if (before > 0 && t.kind[i] == BK_OPENER) return before;
  if (after > 0 && before > 0) return std::max(after, before);
  return 0;
}

BookGrow grow_kind(const BookText& t, int i) {
  const BookKind a = t.kind[i], b = t.kind[i + 1];
  if (b == BK_PAIR_TAIL) return GROW_NONE;
  if (t.codes && t.codes[i + 1] == CONTINUATION_CODE) return GROW_NONE;  // a ruby base
  if (is_space(a)) return GROW_SPACE;
  if (is_space(b)) return GROW_ORDINARY;
  if (a == BK_ASCII && b == BK_ASCII) return GROW_NONE;  // a Latin word or number
  if (a == b && (a == BK_DIGIT || a == BK_DASH || a == BK_ELLIPSIS)) return GROW_NONE;
  return GROW_ORDINARY;
}

bool asks_or_exclaims(char16_t c) {
  return std::u16string_view(u"？！?!‼⁇⁈⁉").find(c) != std::u16string_view::npos;
}

// What a space may give up when a column is taken in: the full-width space
// after ？！ half an em, a word space down to a quarter em.
int space_shrink(const BookText& t, int start, int i) {
  if (t.kind[i] != BK_SPACE || i == start) return 0;
  if (t.text[i] == 0x3000) return asks_or_exclaims(t.text[i - 1]) ? t.full / 2 : 0;
  return std::max(0, t.width[i] - t.full / 4);
}

BookShrinkRank shrink_rank(const BookText& t, int i) {
  BookKind a = t.kind[i], b = t.kind[i + 1];
  if (a == BK_CLOSER || b == BK_OPENER) return SHRINK_BRACKET;
  if (a == BK_COMMA || a == BK_STOP) return SHRINK_STOP;
  return SHRINK_MIDDLE;
}

// A ruby reading may overhang unit j: kana or punctuation without a ruby.
int overhang_room(const BookText& t, int j, int ruby_char) {
  if (t.codes && t.codes[j] != CODE_PLAIN && !is_line_style_code(t.codes[j])) return 0;
  const BookKind k = t.kind[j];
  bool ok = book_is_kana(t.text[j]) || k == BK_OPENER || closes(k) || k == BK_MIDDLE;
  return ok ? ruby_char : 0;
}

// A reading wider than its base: overhangs where the neighbours allow, the
// rest as room beside the base. At the line's start the reading begins with
// the base, at its end it ends with it.
struct Reading {
  int width = 0, first = 0, last = 0;  // px: the whole, its first and last characters
};

BookRuby fit_ruby(const BookText& t, const BookLine& l, int head, int end, int base,
                  const Reading& reading) {
  BookRuby r;
  r.head = head;
  r.end = end;
  r.reading = reading.width;
  const int need = r.reading - base;
  const bool at_start = head == l.start, at_end = end == l.end;
  const int room_before = at_start ? 0 : overhang_room(t, head - 1, reading.first);
  const int room_after = at_end ? 0 : overhang_room(t, end, reading.last);
  if (at_start) {
    r.oh_after = std::min(room_after, need);
    r.extra_after = need - r.oh_after;
    return r;
  }
  if (at_end) {
    r.oh_before = std::min(room_before, need);
    r.extra_before = need - r.oh_before;
    return r;
  }
  r.oh_before = std::min(room_before, need / 2);
  r.oh_after = std::min(room_after, need - r.oh_before);
  r.oh_before = std::min(room_before, need - r.oh_after);
  const int extra = need - r.oh_before - r.oh_after;
  r.extra_before = extra / 2;
  r.extra_after = extra - r.extra_before;
  return r;
}

// The reading over units [i, end) of a base: the whole reading, or the
// morae of those kanji when the line begins or ends inside a jukugo base.
Reading reading_over(const BookText& t, int i, int end) {
  const bool cut_before = t.codes[i] == CONTINUATION_CODE;
  const bool cut_after = end < t.length && t.codes[end] == CONTINUATION_CODE;
  if ((cut_before && t.divides[static_cast<std::size_t>(i)]) ||
      (cut_after && t.divides[static_cast<std::size_t>(end)])) {
    Reading r{0, t.part_first[static_cast<std::size_t>(i)],
              t.part_last[static_cast<std::size_t>(end - 1)]};
    for (int k = i; k < end; ++k) r.width += t.part_reading[static_cast<std::size_t>(k)];
    return r;
  }
  if (cut_before) return {};  // the reading stays with the part before
  const auto h = static_cast<std::size_t>(i);
  return {t.reading[h], t.ruby_first[h], t.ruby_last[h]};
}

void place_rubies(const BookText& t, BookLine& l) {
  if (!t.codes || !t.long_ruby) return;
  for (int i = l.start; i < l.end;) {
    const bool head = is_ruby_code(t.codes[i]) || (i == l.start && t.codes[i] == CONTINUATION_CODE);
    if (!head) {
      ++i;
      continue;
    }
    int end = i + 1;
    while (end < l.end && t.codes[end] == CONTINUATION_CODE) ++end;
    const Reading reading = reading_over(t, i, end);
    int base = 0;
    for (int k = i; k < end; ++k) base += l.adv[k - l.start];
    if (reading.width > base) {
      BookRuby r = fit_ruby(t, l, i, end, base, reading);
      if (r.extra_before) l.adv[i - 1 - l.start] += r.extra_before;
      l.adv[end - 1 - l.start] += r.extra_after;
      l.rubies.push_back(r);
    }
    i = end;
  }
}

// Hands out `amount` px, one at a time round the places that still have
// room, so that it spreads evenly. `room` is decreased; returns what is left.
int hand_out(int amount, std::vector<int>& places, std::vector<int>& room,
             std::vector<int>& delta) {
  while (amount > 0) {
    places.erase(std::remove_if(places.begin(), places.end(), [&](int k) { return room[k] <= 0; }),
                 places.end());
    if (places.empty()) break;
    const int count = static_cast<int>(places.size());
    const int round = std::max(1, amount / count);
    int given = 0;
    for (int j = 0; j < count && given < amount; ++j) {
      // Even shares, the odd pixels spread across the line.
      int share = round;
      if (amount < count) share = (j + 1) * amount / count - j * amount / count;
      share = std::min({share, room[places[j]], amount - given});
      delta[places[j]] += share;
      room[places[j]] -= share;
      given += share;
    }
    amount -= given;
  }
  return amount;
}

}  // namespace

BookScratch& book_scratch(BookScratchUse use) {
  static BookScratch sets[2];
  return sets[use];
}

int book_skip_spaces(const BookText& t, int p) {
  while (p < t.length && is_space(t.kind[p])) ++p;
  return p;
}

int book_trim_spaces(const BookText& t, int start, int end) {
  while (end > start && is_space(t.kind[end - 1])) --end;
  return end;
}

void book_text_measure_ruby(const ViewContext& v, BookText& t, int i) {
  t.reading[i] = t.ruby_first[i] = t.ruby_last[i] = 0;
  const char16_t* r =
      v.doc.annotation_texts[static_cast<std::size_t>(t.codes[i] - RUBY_CODE_FIRST)];
  if (!r || !*r) return;
  int n = static_cast<int>(std::char_traits<char16_t>::length(r));
  std::vector<int> adv = reading_advances(v.typeset.font_ruby, r, n);
  for (int a : adv) t.reading[i] += a;
  t.ruby_first[i] = adv.front();
  int last = n - 1;
  if (last > 0 && is_low_surrogate(r[last]) && is_high_surrogate(r[last - 1])) --last;
  t.ruby_last[i] = adv[static_cast<std::size_t>(last)];
}

// Width of the character at text[i] in the main font, straight from the
// width cache when it holds it.
int width_at(MeasureContext& measure, ViewContext& v, const char16_t* text, int i, int units) {
  const char16_t c = text[i];
  if (units == 1 && v.typeset.width_cache && !is_low_surrogate(c) && !is_high_surrogate(c) &&
      v.typeset.width_cache[c])
    return v.typeset.width_cache[c];
  TextExtent e;
  measure_text(measure, text + i, units, e, v);
  return e.cx;
}

// A jukugo base [head, end): where its reading divides, and each kanji's
// share of it.
void measure_jukugo(const ViewContext& v, BookText& t, int head, int end) {
  const char16_t* r =
      v.doc.annotation_texts[static_cast<std::size_t>(t.codes[head] - RUBY_CODE_FIRST)];
  if (!r || end - head < 2 || book_reading_division(t.text + head, end - head, r, 1) < 0) return;
  const int len = static_cast<int>(std::char_traits<char16_t>::length(r));
  const std::vector<int> adv = reading_advances(v.typeset.font_ruby, r, len);
  for (int k = head, from = 0; k < end; ++k) {
    const int to =
        k + 1 < end ? book_reading_division(t.text + head, end - head, r, k + 1 - head) : len;
    const auto u = static_cast<std::size_t>(k);
    if (k > head) t.divides[u] = 1;
    t.part_first[u] = adv[static_cast<std::size_t>(from)];
    t.part_last[u] = adv[static_cast<std::size_t>(to - 1)];
    for (int c = from; c < to; ++c) t.part_reading[u] += adv[static_cast<std::size_t>(c)];
    if (t.part_reading[u] > t.width[u]) t.long_ruby = true;
    from = to;
  }
}

bool is_punctuation(BookKind k) {
  return k >= BK_OPENER && k <= BK_MIDDLE;
}

void book_text_fill(MeasureContext& measure, ViewContext& v, BookText& t, const char16_t* text,
                    const std::uint16_t* codes, int length) {
  t.text = text;
  t.codes = codes;
  t.length = length;
  t.full = 2 * v.typeset.half_width;
  t.width.resize(static_cast<std::size_t>(length));
  t.kind.resize(static_cast<std::size_t>(length));
  t.cut.assign(static_cast<std::size_t>(length), 0);
  for (int i = 0; i < length;) {
    const int units = char_units(text, i, length);
    // Warichu and sized text of the full notation are set in their own fonts.
    t.width[i] = codes && is_sized_code(codes[i]) ? sized_char_width(v, codes[i], text, i, length)
                                                  : width_at(measure, v, text, i, units);
    if (units == 2) {
      t.kind[i] = BK_OTHER;
      t.width[i + 1] = 0;
      t.kind[i + 1] = BK_PAIR_TAIL;
    } else {
      BookKind k = book_kind(text[i]);
      t.kind[i] = k == BK_PAIR_TAIL ? BK_OTHER : k;  // a lone surrogate
    }
    i += units;
  }
  for (int i = 0; i + 1 < length; ++i)
    if (is_punctuation(t.kind[i]) || is_punctuation(t.kind[i + 1]))
      t.cut[i] = adjacent_reduction(t, i, space_after(t, i), space_before(t, i + 1));
  t.long_ruby = false;
  if (!codes) return;
  t.reading.assign(static_cast<std::size_t>(length), 0);
  t.ruby_first.assign(static_cast<std::size_t>(length), 0);
  t.ruby_last.assign(static_cast<std::size_t>(length), 0);
  t.divides.assign(static_cast<std::size_t>(length), 0);
  t.part_reading.assign(static_cast<std::size_t>(length), 0);
  t.part_first.assign(static_cast<std::size_t>(length), 0);
  t.part_last.assign(static_cast<std::size_t>(length), 0);
  for (int i = 0; i < length; ++i) {
    if (!is_ruby_code(codes[i])) continue;
    book_text_measure_ruby(v, t, i);
    int end = i + 1;
    while (end < length && codes[end] == CONTINUATION_CODE) ++end;
    measure_jukugo(v, t, i, end);
    // The base as a column may hold it: spaces at its end go at a break.
    end = book_trim_spaces(t, i + 1, end);
    int base = 0;
    for (int k = i; k < end; ++k) base += t.width[k];
    if (t.reading[i] > base) t.long_ruby = true;
  }
}

void book_line_layout(const BookText& t, int start, int end, BookLine& l) {
  const int n = end - start;
  l.start = start;
  l.end = end;
  l.full = t.full;
  l.adv.assign(t.width.begin() + start, t.width.begin() + end);
  l.shrink.assign(static_cast<std::size_t>(n), 0);
  l.rank.assign(static_cast<std::size_t>(n), SHRINK_MIDDLE);
  l.grow.assign(static_cast<std::size_t>(n), GROW_NONE);
  l.cut.assign(static_cast<std::size_t>(n), 0);
  l.rubies.clear();
  for (int i = start; i + 1 < end; ++i) {
    const int after = space_after(t, i), before = space_before(t, i + 1);
    const int cut = t.cut[i];
    l.adv[i - start] -= cut;
    l.cut[i - start] = cut;
    l.shrink[i - start] = after + before - cut;
    l.rank[i - start] = shrink_rank(t, i);
    if (const int space = space_shrink(t, start, i)) {
      if (l.shrink[i - start] == 0) l.rank[i - start] = SHRINK_SPACE;
      l.shrink[i - start] += space;
    }
    l.grow[i - start] = grow_kind(t, i);
  }
  if (n > 0) {
    l.shrink[n - 1] = space_after(t, end - 1);
    l.rank[n - 1] = SHRINK_TRAILING;
  }
  place_rubies(t, l);
  l.natural_adv = l.adv;
  l.natural = l.shrinkable = 0;
  for (int k = 0; k < n; ++k) {
    // Space is given up from the advance of the unit before it, which never
    // goes below 0 (the second unit of a pair, or a mark of no width, has none).
    l.shrink[k] = std::min(l.shrink[k], l.adv[k]);
    l.natural += l.adv[k];
    l.shrinkable += l.shrink[k];
  }
  l.trailing = n > 0 ? l.shrink[n - 1] : 0;
}

int book_line_shrink(BookLine& l, int target) {
  int amount = l.natural - target;
  if (amount <= 0) return 0;
  const int n = static_cast<int>(l.adv.size());
  std::vector<int> room = l.shrink, delta(static_cast<std::size_t>(n), 0), places;
  for (int rank = SHRINK_TRAILING; rank < SHRINK_RANKS && amount > 0; ++rank) {
    places.clear();
    for (int k = 0; k < n; ++k)
      if (l.rank[k] == rank && room[k] > 0) places.push_back(k);
    amount = hand_out(amount, places, room, delta);
  }
  for (int k = 0; k < n; ++k) l.adv[k] -= delta[k];
  l.natural = target + amount;
  return amount;
}

int book_line_give_up_ruby_room(BookLine& l, int amount) {
  for (BookRuby& r : l.rubies) {
    const int after = std::min(amount, r.extra_after);
    l.adv[r.end - 1 - l.start] -= after;
    r.extra_after -= after;
    r.oh_after += after;
    amount -= after;
    const int before = std::min(amount, r.extra_before);
    if (before > 0) l.adv[r.head - 1 - l.start] -= before;
    r.extra_before -= before;
    r.oh_before += before;
    amount -= before;
    l.natural -= after + before;
  }
  return amount;
}

int book_line_spread(BookLine& l, int target) {
  int amount = target - l.natural;
  if (amount <= 0) return 0;
  const int n = static_cast<int>(l.adv.size());
  std::vector<int> room(static_cast<std::size_t>(n), 0), delta(static_cast<std::size_t>(n), 0),
      places;
  // First the space adjacent punctuation gave up, and word spaces by up to
  // half an em; then every place between characters evenly.
  for (int step = 0; step < 2 && amount > 0; ++step) {
    places.clear();
    for (int k = 0; k + 1 < n; ++k) {
      if (l.grow[k] == GROW_NONE) continue;
      if (step == 0) room[k] = l.grow[k] == GROW_SPACE ? l.full / 2 : l.cut[k];
      if (step == 1) room[k] = INT_MAX / 4;
      if (room[k] > 0) places.push_back(k);
    }
    amount = hand_out(amount, places, room, delta);
  }
  for (int k = 0; k < n; ++k) l.adv[k] += delta[k];
  l.natural = target - amount;
  return amount;
}

}  // namespace yomite
