// Where a ruby reading is drawn in book composition: centred on its base and
// spread over a wider base with half a share of space at each end (1:2:1), or,
// wider than its base, placed as the line's layout made room for it.
#include "decode/utf16.h"
#include "layout/book_line.h"
#include "layout/decorated_line.h"

namespace yomite {

namespace {

int offset_of(const int* advances, int i) {
  int s = 0;
  for (int k = 0; k < i; ++k) s += advances[k];
  return s;
}

// Spreads `room` px over the reading: half a share before its first
// character, a share between characters. Returns the px before the first.
int spread_reading(const char16_t* text, std::vector<int>& reading, int room) {
  const int n = static_cast<int>(reading.size());
  std::vector<int> starts;  // units that begin a character
  for (int k = 0; k < n; ++k)
    if (!(k > 0 && is_low_surrogate(text[k]) && is_high_surrogate(text[k - 1])))
      starts.push_back(k);
  const int chars = static_cast<int>(starts.size());
  if (chars == 0) return 0;
  const int lead = room / (2 * chars);
  const int between = room - 2 * lead;
  const int gaps = chars - 1;
  for (int g = 0; g < gaps; ++g) {
    // The character before gap g ends at the next start: widen its last unit.
    const int last_unit = starts[static_cast<std::size_t>(g) + 1] - 1;
    reading[static_cast<std::size_t>(last_unit)] += (g + 1) * between / gaps - g * between / gaps;
  }
  return gaps == 0 ? room / 2 : lead;
}

bool is_kanji(char16_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0xF900 && c <= 0xFAFF) || c == 0x3005;  // 々
}

// Small kana that make one mora with the kana before them (っ is a mora of
// its own).
bool joins_mora(char16_t c) {
  switch (c) {
    case u'ぁ':
    case u'ぃ':
    case u'ぅ':
    case u'ぇ':
    case u'ぉ':
    case u'ゃ':
    case u'ゅ':
    case u'ょ':
    case u'ゎ':
      return true;
    default:
      return false;
  }
}

// Hiragana: a reading in katakana over kanji is mostly a loanword's
// (倫敦《ロンドン》), one reading of the whole.
bool is_reading_kana(char16_t c) {
  return (c >= 0x3041 && c <= 0x3096) || c == 0x30FC;
}

}  // namespace

int book_reading_division(const char16_t* base, int base_length, const char16_t* reading, int k) {
  if (!reading || k <= 0 || k >= base_length) return -1;
  for (int i = 0; i < base_length; ++i)
    if (!is_kanji(base[i])) return -1;
  int morae = 0, at = -1;
  for (int i = 0; reading[i]; ++i) {
    if (!is_reading_kana(reading[i])) return -1;
    if (joins_mora(reading[i])) {
      if (i == 0) return -1;
      continue;
    }
    if (morae == 2 * k) at = i;
    ++morae;
  }
  return morae == 2 * base_length ? at : -1;
}

int book_place_ruby(const BookLine& line, const int* advances, int head, int units,
                    const char16_t* reading_text, std::vector<int>& reading) {
  const int at = offset_of(advances, head);
  for (const BookRuby& r : line.rubies)
    if (r.head == head) return at - r.extra_before - r.oh_before;
  // The base as drawn: up to the end of its last character's natural room,
  // not the space the line was spread by after it.
  const int last = head + units - 1;
  int base = 0, width = 0;
  for (int k = head; k < last; ++k) base += advances[k];
  if (last >= line.start && last < line.end) base += line.natural_adv[last - line.start];
  for (int a : reading) width += a;
  if (width >= base) return at - (width - base) / 2;
  return at + spread_reading(reading_text, reading, base - width);
}

void book_set_ruby_line(DecoratedLine& l, int index) {
  l.book_advances.resize(static_cast<std::size_t>(l.length) + 1);
  book_layout_display_line(l.measure, l.v, index, l.book_advances.data(), l.book);
  l.use = l.book_advances.data();
}

int book_place_line_ruby(DecoratedLine& l, int head, int units, const char16_t* reading_text,
                         std::vector<int>& reading) {
  return book_place_ruby(l.book, l.use, head, units, reading_text, reading);
}

}  // namespace yomite
