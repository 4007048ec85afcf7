// The full bracket notation of one line, in this order: gaiji, quotation
// blocks, ruby (readings inside annotations go too, so an editorial note
// keeps its plain text), then every remaining "［＃…］" from left to right.
// Targets ("「X」に傍点") count X's characters back from the annotation, on
// text that no longer holds readings.
#include <string>
#include <string_view>

#include "document/aozora.h"
#include "document/aozora_forms.h"
#include "document/bracket_forms.h"
#include "document/markup.h"
#include "document/markup_text.h"

namespace yomite {

namespace {

using markup::find;
using markup::Line;

constexpr std::u16string_view GAIJI_OPEN = u"※［＃";
constexpr std::u16string_view OPEN = u"［＃";
constexpr std::u16string_view CLOSE = u"］";
constexpr std::u16string_view BASE_START = u"｜";
// Two notes on one character share its entry, parted by this.
constexpr std::u16string_view NOTE_SEPARATOR = u"　";

// Where footnotes go, and how many a load has made.
struct Notes {
  char16_t** entries;
  int& count;
  ViewContext& view;
};

bool is_note_entry_code(std::uint16_t c) {
  return is_note_code(c);
}

char16_t*& note_entry(Notes& n, std::uint16_t code) {
  return n.entries[code - NOTE_CODE_FIRST];
}

// Adds `text` to the note of the character at `at`: a new entry when it has
// none, appended to the one it has. False at the note limit.
bool note_on(Line& line, int at, std::u16string_view text, Notes& n) {
  std::uint16_t code = line.codes[at];
  if (is_note_entry_code(code)) {
    std::u16string joined = note_entry(n, code);
    joined.append(NOTE_SEPARATOR).append(text);
    char16_t* entry = markup::store_entry(n.view, joined.data(), static_cast<int>(joined.size()));
    if (!entry) return false;
    note_entry(n, code) = entry;
    return true;
  }
  if (n.count < 0 || n.count >= NOTE_LIMIT) return false;
  char16_t* entry = markup::store_entry(n.view, text.data(), static_cast<int>(text.size()));
  if (!entry) return false;
  n.entries[n.count] = entry;
  int units = char_units(line.text, at, line.length);
  fill_codes(line.codes + at, static_cast<std::uint16_t>(NOTE_CODE_FIRST + n.count), units);
  ++n.count;
  return true;
}

bool can_carry_note(std::uint16_t code) {
  return code == CODE_PLAIN || is_note_entry_code(code);
}

// The character a note on the annotation [open, after) goes to: the one
// before it, else the nearest before or after that carries no ruby or line
// style (after it, annotations still to come are skipped); -1 when the line
// has none.
int note_carrier(const Line& line, int open, int after) {
  for (int i = open - 1; i >= 0; --i) {
    if (i > 0 && is_low_surrogate(line.text[i]) && is_high_surrogate(line.text[i - 1])) --i;
    if (can_carry_note(line.codes[i])) return i;
  }
  for (int i = after; i < line.length; ++i) {
    if (line.text[i] == OPEN[0] && i + 1 < line.length && line.text[i + 1] == OPEN[1]) {
      int close = find(line, i, CLOSE);
      if (close < 0) return -1;
      i = close;
      continue;
    }
    if (can_carry_note(line.codes[i]) && !is_low_surrogate(line.text[i])) return i;
  }
  return -1;
}

// The ruby notation's own marks, written as gaiji ("※［＃縦線、1-1-35］") so
// that they are not read as ruby: they are put in once the ruby is resolved.
enum GaijiPass { GAIJI_OTHERS, GAIJI_RUBY_MARKS };

bool is_ruby_mark(const std::u16string& text) {
  return text.find_first_of(u"｜《》") != std::u16string::npos;
}

// "※［＃…］": the character it names, or "※" with the description as a note.
void resolve_gaiji(Line& line, Notes& notes, GaijiPass pass) {
  for (int from = 0;;) {
    int open = find(line, from, GAIJI_OPEN);
    if (open < 0) return;
    int body = open + static_cast<int>(GAIJI_OPEN.size());
    int close = find(line, body, CLOSE);
    if (close < 0) return;
    std::u16string description(line.text + body, static_cast<std::size_t>(close - body));
    std::u16string text = gaiji_text(description);
    if (!text.empty() && is_ruby_mark(text) != (pass == GAIJI_RUBY_MARKS)) {
      from = close + 1;
      continue;
    }
    if (text.empty()) {
      // Unknown: "※" stays and tells what it stands for when clicked.
      if (!note_on(line, open, description, notes)) return;  // at the limit: left as it is
      markup::remove_span(line, open + 1, close + 1);
      from = open + 1;
      continue;
    }
    for (std::size_t k = 0; k < text.size(); ++k) {
      line.text[open + static_cast<int>(k)] = text[k];
      line.codes[open + static_cast<int>(k)] = CODE_PLAIN;
    }
    markup::remove_span(line, open + static_cast<int>(text.size()), close + 1);
    from = open + static_cast<int>(text.size());
  }
}

// The library writes the tall kana repeat marks as ／＼ and, voiced, ／″＼:
// in vertical writing they are set as 〳〵 and 〴〵, two cells tall.
void tall_repeat_marks(Line& line) {
  for (int i = 0; i + 1 < line.length; ++i) {
    if (line.text[i] != u'／') continue;
    const bool voiced = line.text[i + 1] == u'″';
    const int tail = voiced ? i + 2 : i + 1;
    if (tail >= line.length || line.text[tail] != u'＼') continue;
    line.text[i] = voiced ? u'〴' : u'〳';
    line.text[tail] = u'〵';
    if (voiced) markup::remove_span(line, i + 1, i + 2);
  }
}

// What the annotations of one line did, beyond their codes.
struct LineForms {
  NotationLine& out;
  NotationState& state;
  bool indent_given = false;  // a one-line indent or foot overrides the block's
  bool foot_given = false;
  int style_open = -1;  // FORM_STYLE_OPEN: where its text starts
  std::uint16_t style_code = 0;
  int heading_open = -1;
  int heading_level = 0;
};

// Styles go on characters without ruby (a ruby base keeps its reading).
void fill_style(Line& line, int from, int to, std::uint16_t code) {
  for (int i = from < 0 ? 0 : from; i < to && i < line.length; ++i)
    if (line.codes[i] == CODE_PLAIN || is_line_style_code(line.codes[i])) line.codes[i] = code;
}

void set_heading(LineForms& f, int level, int from, int to) {
  if (f.out.heading || from >= to) return;  // the first heading of a line is its heading
  f.out.heading = level;
  f.out.heading_from = from;
  f.out.heading_to = to;
}

// The start of the `target`'s characters counted back from `at`.
int target_start(const Line& line, int at, std::u16string_view target) {
  Line t{const_cast<char16_t*>(target.data()), nullptr, static_cast<int>(target.size())};
  return at - markup::units_back(line, at, markup::count_chars(t, 0, t.length));
}

// Applies the annotation [open, close] (removed afterwards unless this says
// to keep it): codes, layout requests, or a note.
bool keep_annotation(Line& line, int open, int after, std::u16string_view body, LineForms& f,
                     Notes& notes) {
  const Form form = classify_annotation(body);
  NotationState& s = f.state;
  switch (form.kind) {
    case FORM_STYLE:
      fill_style(line, target_start(line, open, form.target), open, form.code);
      break;
    case FORM_STYLE_OPEN:
      f.style_open = open;
      f.style_code = form.code;
      break;
    case FORM_STYLE_CLOSE:
      if (f.style_open >= 0) fill_style(line, f.style_open, open, f.style_code);
      f.style_open = -1;
      break;
    case FORM_HEADING:
      set_heading(f, form.level, target_start(line, open, form.target), open);
      break;
    case FORM_HEADING_OPEN:
      f.heading_open = open;
      f.heading_level = form.level;
      break;
    case FORM_HEADING_CLOSE:
      if (f.heading_open >= 0) set_heading(f, f.heading_level, f.heading_open, open);
      f.heading_open = -1;
      break;
    case FORM_HEADING_BLOCK:
      s.heading = form.level;
      break;
    case FORM_HEADING_BLOCK_END:
      s.heading = 0;
      break;
    case FORM_INDENT:
      f.out.indent = form.first;
      f.out.wrap = form.wrap;
      f.indent_given = true;
      break;
    case FORM_INDENT_BLOCK:
      s.indent = form.first;
      s.wrap = form.wrap;
      break;
    case FORM_INDENT_BLOCK_END:
      s.indent = s.wrap = 0;
      break;
    case FORM_FOOT:
      if (!f.foot_given) f.out.foot_from = open;  // the rest of the line from here
      f.out.foot = form.first;
      f.foot_given = true;
      break;
    case FORM_FOOT_BLOCK:
      s.foot = form.first;
      break;
    case FORM_FOOT_BLOCK_END:
      s.foot = -1;
      break;
    case FORM_PAGE_BREAK:
      f.out.page_break = 1;
      break;
    case FORM_CENTRE_PAGE:
      f.out.centre_page = 1;
      break;
    case FORM_SIZE_BLOCK:
      s.size = form.code;
      break;
    case FORM_SIZE_BLOCK_END:
      s.size = 0;
      break;
    case FORM_REMOVED:
      break;
    case FORM_NOTE: {
      int at = note_carrier(line, open, after);
      // Nothing on the line to carry it (an annotation alone on its line,
      // such as a layout request this reader does not make): it goes.
      if (at >= 0 && !note_on(line, at, body, notes)) return true;  // the note limit
      break;
    }
  }
  return false;
}

void resolve_annotations(Line& line, LineForms& f, Notes& notes) {
  for (int from = 0;;) {
    int open = find(line, from, OPEN);
    if (open < 0) break;
    int body = open + static_cast<int>(OPEN.size());
    int close = find(line, body, CLOSE);
    if (close < 0) break;
    std::u16string text(line.text + body, static_cast<std::size_t>(close - body));
    if (keep_annotation(line, open, close + 1, text, f, notes)) {
      from = close + 1;
      continue;
    }
    markup::remove_span(line, open, close + 1);
    f.out.annotated = 1;
    from = open;
  }
  // A style or heading left open runs to the end of the line.
  if (f.style_open >= 0) fill_style(line, f.style_open, line.length, f.style_code);
  if (f.heading_open >= 0) set_heading(f, f.heading_level, f.heading_open, line.length);
}

// What the blocks in force give a line that did not ask for its own.
void apply_blocks(Line& line, LineForms& f) {
  if (f.state.size) fill_style(line, 0, line.length, f.state.size);
  if (!f.indent_given) {
    f.out.indent = f.state.indent;
    f.out.wrap = f.state.wrap;
  }
  if (!f.foot_given && f.state.foot >= 0) {
    f.out.foot = f.state.foot;
    f.out.foot_from = 0;
  }
  if (!f.out.heading && f.state.heading) {
    f.out.heading = f.state.heading;
    f.out.heading_from = 0;
    f.out.heading_to = line.length;
  }
}

bool carries_codes(const Line& line) {
  for (int i = 0; i < line.length; ++i)
    if (line.codes[i] != CODE_PLAIN) return true;
  return false;
}

}  // namespace

int parse_full_notation(char16_t* text, std::uint16_t* codes, char16_t** ruby_entries,
                        int& ruby_count, char16_t** note_entries, int& note_count,
                        ViewContext& view, int& quote_state, NotationState& state,
                        NotationLine& out) {
  out = NotationLine{};
  if (!view.settings.markup_enabled) return 0;
  Line line = markup::begin_line(text, codes);
  LineForms forms{out, state};
  if (view.typeset.vertical) tall_repeat_marks(line);
  // Every form holds "《", "｜" or "［": most lines of a book have none.
  if (std::u16string_view(line.text, static_cast<std::size_t>(line.length))
          .find_first_of(u"《｜［") == std::u16string_view::npos) {
    apply_blocks(line, forms);
    return state.size && line.length > 0 ? 1 : 0;
  }
  Notes notes{note_entries, note_count, view};
  resolve_gaiji(line, notes, GAIJI_OTHERS);
  resolve_quotation_blocks(line, quote_state);
  int ruby = mark_bracket_rubies(line, ruby_entries, ruby_count, view);
  remove_bracket_readings(line);
  markup::remove_all(line, BASE_START);
  resolve_gaiji(line, notes, GAIJI_RUBY_MARKS);
  resolve_annotations(line, forms, notes);
  apply_blocks(line, forms);
  markup::mark_continuations(line);
  return ruby || carries_codes(line) ? 1 : 0;
}

}  // namespace yomite
