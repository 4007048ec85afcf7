#include "view/line_origins.h"

#include <algorithm>

#include "view/view_context.h"

namespace yomite {

void note_logical_line(Document& doc, int next_line) {
  doc.origins.first_line.push_back(next_line);
}

void note_line_origin(Document& doc, int index, int offset) {
  std::vector<std::uint16_t>& offsets = doc.origins.offsets;
  if (index < 0) return;
  if (static_cast<std::size_t>(index) >= offsets.size())
    offsets.resize(static_cast<std::size_t>(index) + 1, ORIGIN_NONE);
  offsets[static_cast<std::size_t>(index)] =
      offset < 0 || offset >= ORIGIN_NONE ? ORIGIN_NONE : static_cast<std::uint16_t>(offset);
}

void rotate_line_origins(Document& doc, int from, int middle, int end) {
  std::vector<std::uint16_t>& offsets = doc.origins.offsets;
  if (from < 0 || from > middle || middle > end || static_cast<std::size_t>(end) > offsets.size())
    return;
  std::rotate(offsets.begin() + from, offsets.begin() + middle, offsets.begin() + end);
  for (int& first : doc.origins.first_line)
    if (first >= from && first <= middle) first += end - middle;
}

void clear_line_origins(Document& doc) {
  std::vector<int>().swap(doc.origins.first_line);
  std::vector<std::uint16_t>().swap(doc.origins.offsets);
}

int logical_line_count(const Document& doc) {
  return static_cast<int>(doc.origins.first_line.size());
}

int logical_line_of(const Document& doc, int line) {
  const std::vector<int>& first = doc.origins.first_line;
  // The last logical line whose lines start at or before `line`: logical
  // lines without lines of their own share the next one's start.
  auto after = std::upper_bound(first.begin(), first.end(), line);
  if (after == first.begin()) return -1;
  return static_cast<int>(after - first.begin()) - 1;
}

int line_origin_offset(const Document& doc, int line) {
  const std::vector<std::uint16_t>& offsets = doc.origins.offsets;
  if (line < 0 || static_cast<std::size_t>(line) >= offsets.size()) return ORIGIN_NONE;
  return offsets[static_cast<std::size_t>(line)];
}

int line_at_origin(const Document& doc, int logical, int offset) {
  const std::vector<int>& first = doc.origins.first_line;
  if (logical < 0 || logical >= logical_line_count(doc)) return -1;
  const int begin = first[static_cast<std::size_t>(logical)];
  const int end = logical + 1 < logical_line_count(doc)
                      ? first[static_cast<std::size_t>(logical) + 1]
                      : doc.line_count;
  int found = -1;
  for (int i = begin; i < end && i < doc.line_count; ++i) {
    const int o = line_origin_offset(doc, i);
    if (o == ORIGIN_NONE) continue;
    if (o > offset && found >= 0) break;
    found = i;
    if (o > offset) break;  // the place was dropped before the first line: that line
  }
  if (found >= 0) return found;
  return begin < doc.line_count ? begin : std::max(doc.line_count - 1, -1);
}

std::u16string excerpt_at(const Document& doc, int line, int index, int units) {
  std::u16string out;
  for (int i = line; i >= 0 && i < doc.line_count && static_cast<int>(out.size()) < units; ++i) {
    const DisplayLine& l = doc.lines[i];
    const char16_t* text = line_text(doc, l);
    const int length = line_length(doc, l);
    for (int k = i == line ? std::max(index, 0) : 0; k < length; ++k) {
      if (is_excerpt_blank(text[k])) continue;
      out += text[k];
      if (static_cast<int>(out.size()) >= units) break;
    }
  }
  // Never half a surrogate pair at the end.
  if (!out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF) out.pop_back();
  return out;
}

TextAnchor anchor_at(const Document& doc, int line, int index) {
  TextAnchor a;
  // A line without text of its own is named by the text that follows it.
  while (line >= 0 && line < doc.line_count && line_origin_offset(doc, line) == ORIGIN_NONE) {
    ++line;
    index = 0;
  }
  if (line < 0 || line >= doc.line_count) return a;
  a.logical = logical_line_of(doc, line);
  if (a.logical < 0) return a;
  index = std::clamp(index, 0, line_length(doc, doc.lines[line]));
  a.offset = line_origin_offset(doc, line) + index;
  a.excerpt = excerpt_at(doc, line, index);
  return a;
}

int excerpt_matches(const Document& doc, int line, int index, const std::u16string& excerpt) {
  const std::u16string here = excerpt_at(doc, line, index, static_cast<int>(excerpt.size()));
  return here == excerpt;
}

}  // namespace yomite
