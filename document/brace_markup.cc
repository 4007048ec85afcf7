// The brace notation: "｛KEYWORD｝text｛/KEYWORD｝" line styles, "｛ルビ READING｝base｛/ルビ｝",
// "｛脚注 NOTE｝anchor｛/脚注｝", "｛リンク TARGET｝anchor｛/リンク｝", any of them closable by
// the generic "｛/｝", and the first-line directives.
#include <array>
#include <string_view>

#include "document/brace_directives.h"
#include "document/markup.h"
#include "document/markup_text.h"

namespace yomite {

namespace {

using markup::find;
using markup::Line;

constexpr std::u16string_view GENERIC_CLOSE = u"｛/｝";
constexpr std::u16string_view TAG_END = u"｝";
constexpr std::u16string_view BRACE_OPEN = u"｛";

struct LineStyle {
  std::u16string_view open;
  std::u16string_view close;
  std::uint16_t code;
};

// In the order they are resolved: a later style overwrites an earlier one
// where their spans overlap.
constexpr std::array<LineStyle, 20> LINE_STYLES = {{
    {u"｛傍点｝", u"｛/傍点｝", 16},         {u"｛傍点丸｝", u"｛/傍点丸｝", 17},
    {u"｛下線｝", u"｛/下線｝", 18},         {u"｛下線太｝", u"｛/下線太｝", 19},
    {u"｛下線２｝", u"｛/下線２｝", 20},     {u"｛点線｝", u"｛/点線｝", 24},
    {u"｛点線太｝", u"｛/点線太｝", 25},     {u"｛点線２｝", u"｛/点線２｝", 26},
    {u"｛破線｝", u"｛/破線｝", 27},         {u"｛破線太｝", u"｛/破線太｝", 28},
    {u"｛破線２｝", u"｛/破線２｝", 29},     {u"｛鎖線｝", u"｛/鎖線｝", 30},
    {u"｛鎖線太｝", u"｛/鎖線太｝", 31},     {u"｛鎖線２｝", u"｛/鎖線２｝", 32},
    {u"｛２鎖線｝", u"｛/２鎖線｝", 33},     {u"｛２鎖線太｝", u"｛/２鎖線太｝", 34},
    {u"｛２鎖線２｝", u"｛/２鎖線２｝", 35}, {u"｛中線｝", u"｛/中線｝", 21},
    {u"｛中線太｝", u"｛/中線太｝", 22},     {u"｛中線２｝", u"｛/中線２｝", 23},
}};

// A form with text in its opening tag: ruby, footnote or link.
struct TaggedForm {
  std::u16string_view open;  // up to and including the space before the text
  std::u16string_view close;
};

constexpr TaggedForm RUBY_FORM = {u"｛ルビ ", u"｛/ルビ｝"};
constexpr TaggedForm NOTE_FORM = {u"｛脚注 ", u"｛/脚注｝"};
constexpr TaggedForm LINK_FORM = {u"｛リンク ", u"｛/リンク｝"};

// The first of `close` and the generic closer at or after `from`, or
// {-1, 0}: its position and length.
struct Closer {
  int at;
  int length;
};

Closer find_closer(const Line& line, int from, std::u16string_view close) {
  int own = find(line, from, close);
  int generic = find(line, from, GENERIC_CLOSE);
  if (own < 0 && generic < 0) return {-1, 0};
  if (generic < 0 || (own >= 0 && own < generic)) return {own, static_cast<int>(close.size())};
  return {generic, static_cast<int>(GENERIC_CLOSE.size())};
}

// Each opening tag is closed by the first matching or generic closer after
// it; the tag itself carries the code too (it is removed later).
int mark_line_style(const Line& line, const LineStyle& style) {
  int found = 0;
  int open = find(line, 0, style.open);
  while (open >= 0) {
    Closer closer = find_closer(line, open + static_cast<int>(style.open.size()), style.close);
    if (closer.at < 0) break;
    fill_codes(line.codes + open, style.code, closer.at - open);
    found = 1;
    open = find(line, closer.at + closer.length, style.open);
  }
  return found;
}

// One tagged form found at or after `from`: the text inside the opening tag
// is [text, tag_end); the coded span runs from `text` up to the closer.
struct FoundForm {
  int text;
  int tag_end;
  Closer closer;
};

// The next complete form, or one with text < 0 when the form is missing,
// unclosed or has an empty text: that stops the kind for the rest of the line.
FoundForm find_tagged_form(const Line& line, int from, const TaggedForm& form) {
  FoundForm none{-1, -1, {-1, 0}};
  int open = find(line, from, form.open);
  if (open < 0) return none;
  int text = open + static_cast<int>(form.open.size());
  int tag_end = find(line, text, TAG_END);
  if (tag_end <= text) return none;
  // The base or anchor takes at least one unit.
  Closer closer = find_closer(line, tag_end + 2, form.close);
  if (closer.at < 0) return none;
  return {text, tag_end, closer};
}

int mark_rubies(const Line& line, char16_t** entries, int& count, ViewContext& view) {
  int found = 0;
  for (int from = 0; count >= 0 && count < RUBY_LIMIT;) {
    FoundForm f = find_tagged_form(line, from, RUBY_FORM);
    if (f.text < 0) break;
    char16_t* reading = markup::store_entry(view, line.text + f.text, f.tag_end - f.text);
    if (!reading) break;  // out of memory: leave the base plain rather than point at nothing
    entries[count] = reading;
    fill_codes(line.codes + f.text, static_cast<std::uint16_t>(RUBY_CODE_FIRST + count),
               f.closer.at - f.text);
    ++count;
    found = 1;
    from = f.closer.at + f.closer.length;
  }
  return found;
}

// A link entry is LINK_MARKER followed by the target.
char16_t* store_note(const Line& line, const FoundForm& f, bool link, ViewContext& view) {
  int n = f.tag_end - f.text;
  if (!link) return markup::store_entry(view, line.text + f.text, n);
  // Copy the unit before the target (the tag's space) too, then mark it.
  char16_t* entry = markup::store_entry(view, line.text + f.text - 1, n + 1);
  if (entry) entry[0] = LINK_MARKER;
  return entry;
}

int mark_notes(const Line& line, const TaggedForm& form, bool link, char16_t** entries, int& count,
               ViewContext& view) {
  int found = 0;
  for (int from = 0; count >= 0 && count < NOTE_LIMIT;) {
    FoundForm f = find_tagged_form(line, from, form);
    if (f.text < 0) break;
    char16_t* entry = store_note(line, f, link, view);
    if (!entry) break;  // out of memory: the anchor stays plain
    entries[count] = entry;
    fill_codes(line.codes + f.text, static_cast<std::uint16_t>(NOTE_CODE_FIRST + count),
               f.closer.at - f.text);
    ++count;
    found = 1;
    from = f.closer.at + f.closer.length;
  }
  return found;
}

// Removes every "｛…｝": opening tags with their readings and notes, closers,
// directives and unknown forms. A "｛" with no "｝" after it stays as text.
void remove_brace_forms(Line& line) {
  for (int open = find(line, 0, BRACE_OPEN); open >= 0; open = find(line, open, BRACE_OPEN)) {
    int end = find(line, open + 1, TAG_END);
    if (end < 0) break;
    markup::remove_span(line, open, end + 1);
  }
}

}  // namespace

int parse_brace_markup(char16_t* text, std::uint16_t* codes, char16_t** ruby_entries,
                       int& ruby_count, char16_t** note_entries, int& note_count, ViewContext& view,
                       int store_directives) {
  if (!view.settings.markup_enabled) return 0;
  Line line = markup::begin_line(text, codes);
  // Every brace form begins with "｛": most lines of a book have none.
  if (std::u16string_view(line.text, static_cast<std::size_t>(line.length)).find(u'｛') ==
      std::u16string_view::npos)
    return 0;
  int found = markup::read_directives(line, view, store_directives);
  for (const LineStyle& style : LINE_STYLES) found |= mark_line_style(line, style);
  found |= mark_rubies(line, ruby_entries, ruby_count, view);
  found |= mark_notes(line, NOTE_FORM, false, note_entries, note_count, view);
  found |= mark_notes(line, LINK_FORM, true, note_entries, note_count, view);
  remove_brace_forms(line);
  markup::mark_continuations(line);
  return found;
}

}  // namespace yomite
