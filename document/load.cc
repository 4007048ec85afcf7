// The loading pipeline: a file becomes the view's display lines.
//
//   locked-text header -> encoding -> open -> markup dialect (read-ahead)
//   and the notation that reads it -> layout pass setup -> for each line:
//   read, header block, form feeds, digits, control characters, markup
//   (the notation's parser), column breaking (the notation's layout)
#include "document/load.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "document/aozora.h"
#include "document/markup.h"
#include "document/ruby_modes.h"
#include "layout/break.h"
#include "layout/composition.h"
#include "locked/locked.h"
#include "trace/trace.h"

namespace yomite {

namespace {

constexpr int BYTE_LINE_BYTES = 33024;
constexpr int CODE_CELLS = LINE_CAPACITY + 100;

// The open file and how its lines are read.
struct Reader {
  TextStream in;
  int mode = ENC_SJIS;
  int code_page = 1;
  LockedBody body;  // body.ango != 0 for a locked text
  int physical_line = 0;
  std::vector<unsigned char> bytes = std::vector<unsigned char>(BYTE_LINE_BYTES);
};

bool is_utf16(int mode) {
  return mode == ENC_UTF16LE || mode == ENC_UTF16BE;
}

// Reads the next line as UTF-16 into `line` (LINE_CAPACITY units); returns its
// length, or -1 at the end of the file. Only the main pass unscrambles.
int read_next_line(Reader& r, char16_t* line, bool unscramble) {
  if (is_utf16(r.mode)) {
    if (!read_utf16_line(line, LINE_CAPACITY, r.in, r.mode)) return -1;
    return static_cast<int>(std::char_traits<char16_t>::length(line));
  }
  int n;
  int mode = r.mode;
  if (unscramble && r.body.ango) {
    ++r.physical_line;
    n = read_locked_line(r.bytes.data(), LINE_CAPACITY, r.in, r.body, r.physical_line);
    mode = ENC_RAW;
  } else {
    if (unscramble) ++r.physical_line;
    n = read_byte_line(r.bytes.data(), LINE_CAPACITY, r.in, mode, 0, 0, nullptr);
  }
  if (n < 0) return -1;
  int units = byte_line_to_utf16(mode, r.code_page, r.bytes.data(), n, line, LINE_CAPACITY);
  // A NUL byte ends the line's text, as it ends a converted C string.
  std::size_t nul = std::u16string_view(line, static_cast<std::size_t>(units)).find(u'\0');
  return nul == std::u16string_view::npos ? units : static_cast<int>(nul);
}

// Back to the first line of the text: past a locked header or a byte-order mark.
void rewind_text(Reader& r) {
  stream_seek(r.in, r.body.ango ? LOCKED_HEADER_BYTES : 0);
  skip_byte_order_mark(r.in, r.mode);
}

bool begins_with_separator(const char16_t* line, int length) {
  if (length < SEPARATOR_DASHES) return false;
  for (int i = 0; i < SEPARATOR_DASHES; ++i)
    if (line[i] != u'-') return false;
  return true;
}

bool contains(const std::u16string_view line, const char16_t* what) {
  return line.find(what) != std::u16string_view::npos;
}

struct Dialect {
  bool bracket = false;
  bool header_handling = false;
};

// The markup dialect: forced by text_format, or the bracket notation when the
// first lines show both its annotations and a separator line.
Dialect choose_dialect(const ViewContext& v, Reader& r, char16_t* line) {
  if (v.settings.text_format == DIALECT_BRACE) return {false, false};
  int separators = 0;
  bool annotation = false;
  for (int k = 0; k < READ_AHEAD_LINES; ++k) {
    int n = read_next_line(r, line, false);
    if (n < 0) break;
    std::u16string_view text(line, static_cast<std::size_t>(n));
    if (begins_with_separator(line, n)) ++separators;
    if ((contains(text, u"《") && contains(text, u"》")) || contains(text, u"［＃］"))
      annotation = true;
  }
  rewind_text(r);
  if (v.settings.text_format == DIALECT_BRACKET) return {true, separators >= 2};
  return {annotation && separators > 0, true};
}

// The lines of one load and where they stand.
struct LoadState {
  LayoutPass pass;
  int note_count = 0;
  int kept = 1;  // number of the next kept line
  long characters = 0;
  bool form_feed_pending = false;
  bool skipping = false;
  int quote_state = QUOTE_OUTSIDE;
  NotationState notation;  // the full notation's blocks in force
  int centred_from = -1;   // the first column of a page to centre, once it ends
};

// The header block: lines between two separators among the first kept lines
// are dropped, the separators too. Returns true when the line is dropped.
bool drop_for_header_block(LoadState& s, const char16_t* line, int length) {
  if (begins_with_separator(line, length)) {
    if (s.kept <= HEADER_BLOCK_LINES) {
      s.skipping = !s.skipping;
      return true;
    }
    s.skipping = false;
    return false;
  }
  if (s.kept > HEADER_BLOCK_LINES) s.skipping = false;
  return s.skipping;
}

// Tabs, form feeds and every other control character become spaces. Returns
// whether the line held a form feed.
bool blank_controls(char16_t* line, int length) {
  bool form_feed = false;
  for (int i = 0; i < length; ++i) {
    if (line[i] >= 0x0001 && line[i] <= 0x0020) {
      form_feed |= line[i] == 0x000C;
      line[i] = u' ';
    }
  }
  return form_feed;
}

// Only a line with an ASCII digit can have one to convert.
bool contains_digit(const char16_t* line, int length) {
  for (int i = 0; i < length; ++i)
    if (line[i] >= u'0' && line[i] <= u'9') return true;
  return false;
}

// Whether the load stops before the next line: after the line that passed
// the character limit, or once the bytes read or the display lines laid out
// reach theirs (empty lines and lines of NUL bytes hold no characters, and
// a form feed adds columns without any). LOAD_WHOLE while it goes on;
// traced once, when it stops.
int reached_a_limit(const LoadState& s, const Reader& r) {
  int cut = LOAD_WHOLE;
  const char* which = nullptr;
  if (s.characters > DOCUMENT_MAX_CHARS)
    cut = LOAD_CUT_CHARACTERS, which = "characters";
  else if (stream_tell(r.in) >= DOCUMENT_MAX_BYTES)
    cut = LOAD_CUT_BYTES, which = "bytes";
  else if (s.pass.line_index >= DOCUMENT_MAX_LINES)
    cut = LOAD_CUT_LINES, which = "display lines";
  if (cut == LOAD_WHOLE) return cut;
  trace("limit of %s reached: %ld characters, %lld bytes, %d lines ", which, s.characters,
        stream_tell(r.in), s.pass.line_index);
  return cut;
}

std::u16string full_width_number(long long n) {
  std::u16string digits;
  for (char c : std::to_string(n)) digits += static_cast<char16_t>(u'０' + (c - '0'));
  return digits;
}

// What the document's last column says when a limit ended the load.
std::u16string cut_notice(int cut) {
  std::u16string why =
      cut == LOAD_CUT_CHARACTERS ? u"文字数が上限の" + full_width_number(DOCUMENT_MAX_CHARS) + u"字"
      : cut == LOAD_CUT_BYTES
          ? u"ファイルが上限の" + full_width_number(DOCUMENT_MAX_BYTES >> 20) + u"ＭｉＢ"
          : u"行数が上限の" + full_width_number(DOCUMENT_MAX_LINES) + u"行";
  return u"（この先は読み込んでいません。" + why + u"を超えました）";
}

// A limit ended the load: when text remains, the reader is told so once, in
// a last column of its own (the paragraph before it stays as it was laid out).
// Asked again after the end (a caller may ask once more), it adds nothing.
void end_at_limit(ViewContext& v, LoadState& s, Reader& r, std::uint16_t* codes, int cut) {
  if (v.doc.load_cut != LOAD_WHOLE || stream_getc(r.in) < 0) return;  // or the text ended there
  v.doc.load_cut = cut;
  const std::u16string notice = cut_notice(cut);
  break_logical_line(v, s.pass, notice.c_str(), static_cast<int>(notice.size()), codes, 0,
                     QUOTE_OUTSIDE);
}

// What the full notation asked of units of the line, at their places in the
// line a ruby display mode rewrote.
void move_notation_offsets(NotationLine& asked, const std::vector<int>& moved) {
  auto at = [&](int i) {
    return i >= 0 && i < static_cast<int>(moved.size()) ? moved[static_cast<std::size_t>(i)] : i;
  };
  asked.foot_from = at(asked.foot_from);
  asked.heading_from = at(asked.heading_from);
  asked.heading_to = at(asked.heading_to);
}

// Opens the text after the header check; false when it cannot be opened.
bool open_text(ViewContext& v, Reader& r, int ango) {
  const char* path = v.doc.file_name.c_str();
  trace("\n---filename=%s ", path);
  r.mode = encoding_from_letter(v.settings.encoding_letter);
  if (r.mode < 0) r.mode = detect_encoding(path);
  trace("kanji=%d ", r.mode);
  r.code_page = v.settings.code_page;
  if (!stream_open(r.in, path)) {
    trace("cannot open %s ", path);
    return false;
  }
  trace("2 ");
  if (ango) {
    stream_seek(r.in, LOCKED_HEADER_BYTES);
    v.doc.locked = 1;
  }
  skip_byte_order_mark(r.in, r.mode);
  trace("3 ");
  return true;
}

// How a load reads its lines, chosen once when it begins: the parser of the
// notation, and what is done with the line it resolved.
struct Notation {
  // Resolves the markup of `line` in place; 1 when it carries codes.
  int (*resolve)(LoadJob& job, char16_t* line, std::uint16_t* codes, NotationLine& asked);
  // Lays the resolved line out; false when the display lines cannot grow.
  bool (*lay_out)(LoadJob& job, const char16_t* line, int length, std::uint16_t* codes,
                  int has_codes, const NotationLine& asked);
};

}  // namespace

// A full load or the probe, between its start and its end.
struct LoadJob {
  ViewContext* view = nullptr;
  bool full = false;
  MeasureContext measure;  // the layout pass measures through it
  std::vector<char16_t> line = std::vector<char16_t>(LINE_CAPACITY + 1);
  std::vector<std::uint16_t> codes = std::vector<std::uint16_t>(CODE_CELLS);
  // A line rewritten for a ruby display mode (it may grow past the line's cells).
  std::u16string ruby_text;
  std::vector<std::uint16_t> ruby_codes;
  std::vector<int> ruby_moved;
  Reader r;
  Dialect dialect;
  const Notation* notation = nullptr;
  LoadState s;
};

namespace {

// The brace notation: directives (stored by the probe), ruby, notes, links.
int resolve_brace(LoadJob& j, char16_t* line, std::uint16_t* codes, NotationLine&) {
  ViewContext& v = *j.view;
  return parse_brace_markup(line, codes, v.doc.annotation_texts.data(), j.s.pass.ruby_count,
                            v.doc.annotation_texts.data() + NOTE_FIRST_ENTRY, j.s.note_count, v,
                            j.full ? 0 : 1);
}

// The bracket notation: ruby, emphasis, quotation blocks.
int resolve_bracket(LoadJob& j, char16_t* line, std::uint16_t* codes, NotationLine&) {
  ViewContext& v = *j.view;
  return parse_bracket_markup(line, codes, v.doc.annotation_texts.data(), j.s.pass.ruby_count, v,
                              j.s.quote_state);
}

// The full bracket notation: its other annotations too.
int resolve_full_notation(LoadJob& j, char16_t* line, std::uint16_t* codes, NotationLine& asked) {
  ViewContext& v = *j.view;
  return parse_full_notation(line, codes, v.doc.annotation_texts.data(), j.s.pass.ruby_count,
                             v.doc.annotation_texts.data() + NOTE_FIRST_ENTRY, j.s.note_count, v,
                             j.s.quote_state, j.s.notation, asked);
}

// A first line that held only directives leaves no empty column.
bool lay_out_plain(LoadJob& j, const char16_t* line, int length, std::uint16_t* codes,
                   int has_codes, const NotationLine&) {
  LoadState& s = j.s;
  bool directives_only = has_codes && s.kept == 1 && length == 0;
  return directives_only ||
         break_logical_line(*j.view, s.pass, line, length, codes, has_codes, s.quote_state);
}

// A page the full notation centres (a title page), once its last column is
// laid out: in page mode and vertical writing, empty columns before it put
// its columns in the middle of the page. A page fuller than one is left.
bool centre_page(ViewContext& v, LoadState& s) {
  const int from = s.centred_from, end = s.pass.line_index;
  s.centred_from = -1;
  const int columns = end - from, room = v.settings.page_lines - columns;
  if (from < 0 || columns <= 0 || room < 2) return true;
  for (int k = 0; k < room / 2; ++k)
    if (!break_logical_line(v, s.pass, u"", 0, nullptr, 0, QUOTE_OUTSIDE)) return false;
  std::rotate(v.doc.lines + from, v.doc.lines + end, v.doc.lines + s.pass.line_index);
  for (HeadingEntry& h : v.doc.headings)
    if (h.line >= from && h.line < end) h.line += room / 2;
  rotate_line_origins(v.doc, from, end, s.pass.line_index);
  return true;
}

// The full notation: a line its annotations left empty is no column; a page
// break starts a new page in page mode (as a form feed does) and leaves a
// gap of one column when scrolling.
bool lay_out_annotated(LoadJob& j, const char16_t* line, int length, std::uint16_t* codes,
                       int has_codes, const NotationLine& asked) {
  ViewContext& v = *j.view;
  LoadState& s = j.s;
  if (asked.centre_page && v.settings.page_mode && v.typeset.vertical && v.settings.page_lines > 0)
    s.centred_from = s.pass.line_index - s.pass.line_index % v.settings.page_lines;
  if ((length > 0 || !asked.annotated) &&
      !lay_out_notation_line(v, s.pass, line, length, codes, has_codes, s.quote_state, asked))
    return false;
  if (!asked.page_break) return true;
  if (s.centred_from >= 0 && !centre_page(v, s)) return false;
  if (v.settings.page_mode) {
    s.form_feed_pending = true;
    return true;
  }
  return break_logical_line(v, s.pass, u"", 0, codes, 0, QUOTE_OUTSIDE) != 0;
}

constexpr Notation BRACE_NOTATION = {resolve_brace, lay_out_plain};
constexpr Notation BRACKET_NOTATION = {resolve_bracket, lay_out_plain};
constexpr Notation FULL_NOTATION = {resolve_full_notation, lay_out_annotated};

const Notation& choose_notation(const ViewContext& v, const Dialect& dialect) {
  if (!dialect.bracket) return BRACE_NOTATION;
  return v.settings.full_notation ? FULL_NOTATION : BRACKET_NOTATION;
}

// Everything before the first line: the header check, the file, the dialect,
// the layout pass. Null when nothing is to be read (the view then holds what
// it will hold).
LoadJob* begin_load(ViewContext& v, MeasureContext* measure) {
  auto job = std::make_unique<LoadJob>();
  job->view = &v;
  job->full = measure != nullptr;
  if (measure) job->measure = *measure;
  trace("1 ");
  if (job->full) {
    v.doc.load_cut = LOAD_WHOLE;
    if (!begin_display_lines(v)) return nullptr;
    v.doc.line_count = 0;
    clear_line_origins(v.doc);
  }

  if (locked_refused()) return nullptr;
  int ango = check_locked_header(v, job->full ? 0 : 1);
  if (!ango && locked_refused()) {
    v.doc.locked = 1;
    return nullptr;
  }
  if (ango) {
    if (v.settings.text_format == DIALECT_AUTO) v.settings.text_format = DIALECT_BRACE;
    v.settings.encoding_letter = 'S';
  }
  Reader& r = job->r;
  r.body.ango = ango;
  if (!open_text(v, r, ango)) return nullptr;
  job->dialect = choose_dialect(v, r, job->line.data());
  job->notation = &choose_notation(v, job->dialect);

  trace("4 ");
  if (job->full) {
    axis_probe(job->measure, v);
    job->s.pass = begin_layout_pass(v, job->measure);
  }
  if (ango) start_locked_body(r.in, ango, r.body);
  trace("5 ");
  return job.release();
}

// One logical line (or one padding line of a form feed): read, resolved and
// laid out. False when the load ends before it.
bool load_next_line(LoadJob& j) {
  ViewContext& v = *j.view;
  LoadState& s = j.s;
  char16_t* line = j.line.data();
  std::uint16_t* codes = j.codes.data();
  const Dialect& dialect = j.dialect;
  if (s.quote_state == QUOTE_ENDS_HERE) s.quote_state = QUOTE_OUTSIDE;
  if (const int cut = reached_a_limit(s, j.r)) {
    if (j.full) end_at_limit(v, s, j.r, codes, cut);
    return false;
  }
  int length;
  bool padding = false;  // an empty line a form feed adds: it does not count
  if (s.form_feed_pending) {
    if (v.settings.page_lines <= 0 || s.pass.line_index % v.settings.page_lines == 0) {
      s.form_feed_pending = false;
      return true;
    }
    line[0] = 0;
    length = 0;
    padding = true;
  } else {
    length = read_next_line(j.r, line, true);
    if (length < 0) return false;
    if (j.full) note_logical_line(v.doc, s.pass.line_index);
  }
  // The display lines cut from this line record where they start in it; a
  // form feed's empty columns have no text of their own.
  s.pass.logical_text = padding ? nullptr : line;
  if (dialect.bracket && v.settings.markup_enabled && dialect.header_handling &&
      drop_for_header_block(s, line, length))
    return true;
  if (v.typeset.vertical && contains_digit(line, length)) {
    // The probe runs before the composition is chosen; it lays nothing out.
    convert_isolated_digits(
        line, v.typeset.composition ? v.typeset.composition->wide_beside_digits : u"");
    length = static_cast<int>(std::char_traits<char16_t>::length(line));
  }
  // A form feed: the lines that follow start a new page.
  if (blank_controls(line, length)) s.form_feed_pending = true;
  s.characters += length;

  NotationLine asked;
  const int readings_before = s.pass.ruby_count;
  int has_codes = j.notation->resolve(j, line, codes, asked);
  length = static_cast<int>(std::char_traits<char16_t>::length(line));
  s.pass.logical_length = length;

  if (!j.full && s.kept == 1) return false;  // the probe reads the first kept line only
  // Any other value of the setting shows readings as the standard layout does.
  const int ruby_mode = v.settings.ruby_mode;
  if (has_codes && length > 0 && (ruby_mode == RUBY_HIDE || ruby_mode == RUBY_INLINE)) {
    const bool annotated = j.notation == &FULL_NOTATION;
    has_codes = rewrite_ruby(ruby_mode, line, length, codes, v.doc.annotation_texts.data(),
                             j.ruby_text, j.ruby_codes, annotated ? &j.ruby_moved : nullptr);
    if (annotated) move_notation_offsets(asked, j.ruby_moved);
    line = j.ruby_text.data();
    codes = j.ruby_codes.data();
    length = static_cast<int>(j.ruby_text.size());
    // No code names the readings any more: their entries serve the next lines.
    s.pass.ruby_count = readings_before;
  }
  // The display-line array cannot grow: keep what is laid out.
  if (!j.notation->lay_out(j, line, length, codes, has_codes, asked)) return false;
  if (!padding) ++s.kept;
  return true;
}

void finish_load(LoadJob* j) {
  ViewContext& v = *j->view;
  // A centred page the text ends with.
  if (j->full && j->s.centred_from >= 0 && v.doc.load_cut == LOAD_WHOLE) centre_page(v, j->s);
  if (j->full) v.doc.line_count = j->s.pass.line_index;
  trace("allline = %d ruby=%d\n", v.doc.line_count, j->s.pass.ruby_count);
  stream_close(j->r.in);
  delete j;
}

}  // namespace

void load_full_document(ViewContext& v) {
  MeasureContext measure = view_measure_context(v);
  load_document(v, &measure);
}

void load_document(ViewContext& v, MeasureContext* measure) {
  LoadJob* job = begin_load(v, measure);
  if (!job) return;
  if (job->full) platform::window_set_busy(v.viewport.window, 1);
  while (load_next_line(*job)) {
  }
  const bool full = job->full;
  finish_load(job);
  if (full) platform::window_set_busy(v.viewport.window, 0);
}

LoadJob* begin_full_load(ViewContext& v) {
  MeasureContext measure = view_measure_context(v);
  LoadJob* job = begin_load(v, &measure);
  if (job) {
    v.doc.load_job = job;
    v.doc.end_load_job = end_full_load;
  }
  return job;
}

int continue_full_load(LoadJob& job, int display_lines, int logical_lines) {
  ViewContext& v = *job.view;
  int more = 1;
  for (int n = 0; (display_lines < 0 || job.s.pass.line_index < display_lines) &&
                  (logical_lines < 0 || n < logical_lines);
       ++n) {
    if (!load_next_line(job)) {
      more = 0;
      break;
    }
  }
  v.doc.line_count = job.s.pass.line_index;
  return more;
}

void end_full_load(LoadJob* job) {
  if (!job) return;
  ViewContext& v = *job->view;
  v.doc.load_job = nullptr;
  v.doc.end_load_job = nullptr;
  finish_load(job);
}

}  // namespace yomite
