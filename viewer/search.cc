// The search over the display lines. The plain pass scans every line for
// the few units that fold to the pattern's first character and compares the
// rest from there; only lines with ruby are read again for the readings.
#include "viewer/search.h"

#include <algorithm>

#include "view/attr_codes.h"

namespace yomite {

namespace {

constexpr char16_t FULL_WIDTH_FIRST = 0xFF01;  // ！ .. ～: ASCII ! .. ~
constexpr char16_t FULL_WIDTH_LAST = 0xFF5E;
constexpr char16_t FULL_WIDTH_SHIFT = 0xFEE0;
constexpr char16_t IDEOGRAPHIC_SPACE = 0x3000;
constexpr char16_t KATAKANA_FIRST = 0x30A1;  // ァ .. ヶ: ぁ .. ゖ
constexpr char16_t KATAKANA_LAST = 0x30F6;
constexpr char16_t KANA_SHIFT = 0x60;
constexpr char16_t KATAKANA_ITERATION = 0x30FD;  // ヽ ヾ: ゝ ゞ
constexpr char16_t KATAKANA_VOICED_ITERATION = 0x30FE;

// Units that fold to `folded` (itself one): at most four.
constexpr int RAW_FORMS_MAX = 4;
int raw_forms(char16_t folded, const SearchOptions& o, char16_t* out) {
  int n = 0;
  out[n++] = folded;
  if (folded == u' ') {
    out[n++] = IDEOGRAPHIC_SPACE;
    return n;
  }
  if (folded >= u'a' && folded <= u'z') {
    out[n++] = static_cast<char16_t>(folded - 32);
    out[n++] = static_cast<char16_t>(folded - 32 + FULL_WIDTH_SHIFT);
  }
  if (folded >= u'!' && folded <= u'~') out[n++] = static_cast<char16_t>(folded + FULL_WIDTH_SHIFT);
  const bool hiragana =
      (folded >= KATAKANA_FIRST - KANA_SHIFT && folded <= KATAKANA_LAST - KANA_SHIFT) ||
      folded == KATAKANA_ITERATION - KANA_SHIFT || folded == KATAKANA_VOICED_ITERATION - KANA_SHIFT;
  if (o.kana && hiragana) out[n++] = static_cast<char16_t>(folded + KANA_SHIFT);
  return n;
}

// Spaces a break dropped between display line i and the next, which goes on
// with the same logical line.
int dropped_after(const Document& d, int i) {
  const int here = line_origin_offset(d, i), next = line_origin_offset(d, i + 1);
  if (here == ORIGIN_NONE || next == ORIGIN_NONE) return 0;
  return std::max(next - here - line_length(d, d.lines[i]), 0);
}

bool continues(const Document& d, int i) {
  return !(d.lines[i].flags & DL_PARAGRAPH_END) && i + 1 < d.line_count &&
         line_text(d, d.lines[i + 1]);
}

// Whether the pattern's characters after the first follow unit k of line
// `line`; `r` gets the match.
bool matches_at(const Document& d, int line, int k, const SearchPattern& p, TextRange& r) {
  int i = line, j = k + 1, gap = 0;
  const std::u16string& f = p.folded;
  for (std::size_t n = 1; n < f.size(); ++n) {
    while (gap == 0 && line_text(d, d.lines[i])[j] == 0) {
      if (!continues(d, i)) return false;
      gap = dropped_after(d, i);
      ++i;
      j = 0;
    }
    const char16_t c = gap > 0 ? u' ' : line_text(d, d.lines[i])[j];
    if (fold_search_char(c, p.options) != f[n]) return false;
    if (gap > 0)
      --gap;
    else
      ++j;
  }
  r = TextRange{line, k, i, j};
  return true;
}

void find_plain(const Document& d, const SearchPattern& p, std::vector<TextRange>& out) {
  char16_t firsts[RAW_FORMS_MAX];
  const int forms = raw_forms(p.folded[0], p.options, firsts);
  for (int i = 0; i < d.line_count; ++i) {
    const char16_t* t = line_text(d, d.lines[i]);
    if (!t) continue;
    for (int k = 0; t[k]; ++k) {
      const char16_t c = t[k];
      bool first = false;
      for (int f = 0; f < forms; ++f) first |= c == firsts[f];
      TextRange r;
      if (first && matches_at(d, i, k, p, r)) out.push_back(r);
    }
  }
}

// --- the readings ---

// One unit of a logical line read with its readings for its bases, and the
// characters it stands for.
struct ReadUnit {
  char16_t c;
  TextRange from;
};

bool has_ruby(const Document& d, const DisplayLine& line) {
  const std::uint16_t* codes = line_codes(d, line);
  if (!codes) return false;
  const int length = line_length(d, line);
  for (int k = 0; k < length; ++k)
    if (is_ruby_code(codes[k])) return true;
  return false;
}

void read_line(const Document& d, int i, std::vector<ReadUnit>& units) {
  const DisplayLine& l = d.lines[i];
  const int length = line_length(d, l);
  const std::uint16_t* codes = line_codes(d, l);
  for (int k = 0; k < length;) {
    const std::uint16_t code = codes ? codes[k] : CODE_PLAIN;
    const char16_t* reading =
        is_ruby_code(code) ? d.annotation_texts[static_cast<std::size_t>(code - RUBY_CODE_FIRST)]
                           : nullptr;
    if (!reading || !*reading) {
      units.push_back({line_text(d, l)[k], {i, k, i, k + 1}});
      ++k;
      continue;
    }
    int end = k + 1;
    while (end < length && codes[end] == CONTINUATION_CODE) ++end;
    for (const char16_t* r = reading; *r; ++r) units.push_back({*r, {i, k, i, end}});
    k = end;
  }
}

void find_in_readings(const Document& d, const SearchPattern& p, std::vector<TextRange>& out) {
  std::vector<ReadUnit> units;
  for (int first = 0; first < d.line_count;) {
    int last = first;
    while (continues(d, last)) ++last;
    bool ruby = false;
    for (int i = first; i <= last && !ruby; ++i) ruby = has_ruby(d, d.lines[i]);
    if (ruby) {
      units.clear();
      for (int i = first; i <= last; ++i) {
        read_line(d, i, units);
        if (i < last)
          for (int g = dropped_after(d, i); g > 0; --g)
            units.push_back({u' ', {i + 1, 0, i + 1, 0}});
      }
      const std::size_t n = p.folded.size();
      for (std::size_t s = 0; s + n <= units.size(); ++s) {
        std::size_t m = 0;
        while (m < n && fold_search_char(units[s + m].c, p.options) == p.folded[m]) ++m;
        if (m < n) continue;
        const TextRange& a = units[s].from;
        const TextRange& b = units[s + n - 1].from;
        out.push_back({a.line, a.index, b.end_line, b.end_index});
      }
    }
    first = last + 1;
  }
}

bool before(const TextRange& a, const TextRange& b) {
  if (a.line != b.line) return a.line < b.line;
  return a.index < b.index;
}

}  // namespace

char16_t fold_search_char(char16_t c, const SearchOptions& o) {
  if (c >= FULL_WIDTH_FIRST && c <= FULL_WIDTH_LAST)
    c = static_cast<char16_t>(c - FULL_WIDTH_SHIFT);
  else if (c == IDEOGRAPHIC_SPACE)
    c = u' ';
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (o.kana && ((c >= KATAKANA_FIRST && c <= KATAKANA_LAST) || c == KATAKANA_ITERATION ||
                 c == KATAKANA_VOICED_ITERATION))
    return static_cast<char16_t>(c - KANA_SHIFT);
  return c;
}

SearchPattern make_search_pattern(const std::u16string& text, const SearchOptions& options) {
  SearchPattern p;
  p.options = options;
  for (char16_t c : text) p.folded += fold_search_char(c, options);
  return p;
}

std::vector<TextRange> find_all(const Document& d, const SearchPattern& p) {
  std::vector<TextRange> out;
  if (p.folded.empty() || !d.lines) return out;
  find_plain(d, p, out);
  if (!p.options.readings) return out;
  find_in_readings(d, p, out);
  // A match found both ways is one match.
  std::stable_sort(out.begin(), out.end(), before);
  out.erase(std::unique(out.begin(), out.end(),
                        [](const TextRange& a, const TextRange& b) {
                          return a.line == b.line && a.index == b.index;
                        }),
            out.end());
  return out;
}

int match_from(const std::vector<TextRange>& matches, int line, int index, int direction,
               int* wrapped) {
  if (wrapped) *wrapped = 0;
  if (matches.empty()) return -1;
  const TextRange here{line, index, line, index};
  const auto at = std::lower_bound(matches.begin(), matches.end(), here, before);
  int k = static_cast<int>(at - matches.begin());
  if (direction < 0) --k;
  const int count = static_cast<int>(matches.size());
  if (k >= 0 && k < count) return k;
  if (wrapped) *wrapped = 1;
  return direction < 0 ? count - 1 : 0;
}

std::u16string match_context(const Document& d, const TextRange& m, int context) {
  if (m.line < 0 || m.line >= d.line_count) return u"";
  // Back from the start within the logical line, then on past the end.
  std::u16string before_text;
  int i = m.line, k = m.index;
  while (static_cast<int>(before_text.size()) < context) {
    if (k > 0) {
      before_text.insert(before_text.begin(), line_text(d, d.lines[i])[--k]);
      continue;
    }
    if (i == 0 || !continues(d, i - 1)) break;
    --i;
    k = line_length(d, d.lines[i]);
  }
  std::u16string text = before_text;
  i = m.line;
  k = m.index;
  int after = 0;
  for (;;) {
    const bool inside = i < m.end_line || (i == m.end_line && k < m.end_index);
    if (!inside && after >= context) break;
    if (line_text(d, d.lines[i])[k] == 0) {
      if (!continues(d, i)) break;
      ++i;
      k = 0;
      continue;
    }
    text += line_text(d, d.lines[i])[k++];
    if (!inside) ++after;
  }
  return text;
}

}  // namespace yomite
