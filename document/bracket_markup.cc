// The bracket notation: "base《reading》" (the base is the run of kanji before
// "《", or what follows a "｜" inside it), "［＃「target」に傍点］" emphasis on
// the characters before the annotation, and quotation blocks.
#include <array>
#include <string_view>

#include "document/bracket_forms.h"
#include "document/markup.h"
#include "document/markup_text.h"

namespace yomite {

namespace {

using markup::find;
using markup::Line;

constexpr std::u16string_view READING_OPEN = u"《";
constexpr std::u16string_view READING_CLOSE = u"》";
constexpr std::u16string_view BASE_START = u"｜";
constexpr std::u16string_view EMPHASIS_OPEN = u"［＃「";
constexpr std::u16string_view EMPHASIS_CLOSE = u"」に傍点］";
constexpr std::u16string_view ANNOTATION_END = u"］";
constexpr std::array<std::u16string_view, 2> QUOTE_STARTS = {u"［＃ここより引用文",
                                                             u"［＃ここから引用文"};
constexpr std::array<std::u16string_view, 3> QUOTE_ENDS = {
    u"［＃引用文、ここまで］", u"［＃引用文ここまで］", u"［＃ここで引用文終わり］"};

// Kanji and the repeat mark "々" can form a ruby base.
bool is_base_unit(char16_t u) {
  return (u >= 0x3190 && u <= 0xFAFF) || u == 0x3005;
}

// Ideographs beyond the 16-bit range (planes 2 and 3) are kanji too; they
// are taken whole, both units of the pair.
bool is_base_pair(char16_t high, char16_t low) {
  if (!is_high_surrogate(high) || !is_low_surrogate(low)) return false;
  char32_t c = 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (low - 0xDC00);
  return c >= 0x20000 && c <= 0x3FFFF;
}

// Start of the base that ends before `reading_open`: back over kanji, never
// past a "｜", another character or the line start. May equal reading_open.
int ruby_base_start(const Line& line, int reading_open) {
  int at = reading_open;
  while (at > 0) {
    if (is_base_unit(line.text[at - 1])) {
      --at;
    } else if (at > 1 && is_base_pair(line.text[at - 2], line.text[at - 1])) {
      at -= 2;
    } else {
      break;
    }
  }
  return at;
}

}  // namespace

int mark_bracket_rubies(const Line& line, char16_t** entries, int& count, ViewContext& view) {
  int found = 0;
  for (int from = 0; count >= 0 && count < RUBY_LIMIT;) {
    int open = find(line, from, READING_OPEN);
    if (open < 0) break;
    int close = find(line, open + 1, READING_CLOSE);
    if (close <= open + 1) break;  // unclosed or empty reading
    char16_t* reading = markup::store_entry(view, line.text + open + 1, close - open - 1);
    if (!reading) break;  // out of memory: the base stays plain
    entries[count] = reading;
    int base = ruby_base_start(line, open);
    fill_codes(line.codes + base, static_cast<std::uint16_t>(RUBY_CODE_FIRST + count),
               close - base);
    ++count;
    found = 1;
    from = close + 1;
  }
  return found;
}

namespace {

// An emphasis annotation: the "［＃「" nearest before the closer, and the closer.
struct Emphasis {
  int open;  // -1: none
  int close;
};

Emphasis find_emphasis(const Line& line, int from) {
  int open = find(line, from, EMPHASIS_OPEN);
  if (open < 0) return {-1, -1};
  int close = find(line, open + static_cast<int>(EMPHASIS_OPEN.size()), EMPHASIS_CLOSE);
  if (close < 0) return {-1, -1};
  return {markup::find_last(line, open, close, EMPHASIS_OPEN), close};
}

// The dots go on as many characters before the annotation as the quoted
// target has; the target's text is not compared with them. Counting
// characters, not units, keeps a surrogate pair whole.
int mark_emphasis(const Line& line) {
  int found = 0;
  for (int from = 0;;) {
    Emphasis e = find_emphasis(line, from);
    if (e.open < 0) break;
    int target_start = e.open + static_cast<int>(EMPHASIS_OPEN.size());
    int chars = markup::count_chars(line, target_start, e.close);
    int units = markup::units_back(line, e.open, chars);
    fill_codes(line.codes + e.open - units, CODE_EMPHASIS_DOTS, units);
    found = 1;
    from = e.close;
  }
  return found;
}

}  // namespace

void remove_bracket_readings(Line& line) {
  for (int open = find(line, 0, READING_OPEN); open >= 0; open = find(line, open, READING_OPEN)) {
    int close = find(line, open + 1, READING_CLOSE);
    if (close < 0) break;
    markup::remove_span(line, open, close + 1);
  }
}

namespace {

void remove_emphasis(Line& line) {
  for (int from = 0;;) {
    int first = find(line, from, EMPHASIS_OPEN);
    Emphasis e = find_emphasis(line, from);
    if (e.open < 0) break;
    markup::remove_span(line, e.open, e.close + static_cast<int>(EMPHASIS_CLOSE.size()));
    from = markup::resume_after_removal(first, e.open, EMPHASIS_OPEN);
  }
}

// "［＃ここから引用文…］" up to its "］" goes; the block starts on this line.
void remove_quote_starts(Line& line, std::u16string_view start, int& quote_state) {
  for (int from = 0;;) {
    int open = find(line, from, start);
    if (open < 0) break;
    int close = find(line, open + static_cast<int>(start.size()), ANNOTATION_END);
    if (close < 0) break;
    markup::remove_span(line, open, close + 1);
    quote_state = QUOTE_INSIDE;
    from = markup::resume_after_removal(open, open, start);
  }
}

void remove_quote_ends(Line& line, int& quote_state) {
  for (std::u16string_view end : QUOTE_ENDS) {
    int removed = markup::remove_all(line, end);
    if (removed > 0 && quote_state != QUOTE_OUTSIDE) quote_state = QUOTE_ENDS_HERE;
  }
}

}  // namespace

void resolve_quotation_blocks(Line& line, int& quote_state) {
  for (std::u16string_view start : QUOTE_STARTS) remove_quote_starts(line, start, quote_state);
  remove_quote_ends(line, quote_state);
}

int parse_bracket_markup(char16_t* text, std::uint16_t* codes, char16_t** ruby_entries,
                         int& ruby_count, ViewContext& view, int& quote_state) {
  if (!view.settings.markup_enabled) return 0;
  Line line = markup::begin_line(text, codes);
  // Every bracket form holds "《", "｜" or "［": most lines of a book have none.
  if (std::u16string_view(line.text, static_cast<std::size_t>(line.length))
          .find_first_of(u"《｜［") == std::u16string_view::npos)
    return 0;
  int found = mark_bracket_rubies(line, ruby_entries, ruby_count, view);
  found |= mark_emphasis(line);
  remove_bracket_readings(line);
  markup::remove_all(line, BASE_START);
  remove_emphasis(line);
  resolve_quotation_blocks(line, quote_state);
  remove_emphasis(line);
  markup::mark_continuations(line);
  return found;
}

}  // namespace yomite
