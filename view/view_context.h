// The record of everything about the document shown in the main window, in
// four parts: the laid-out document, its typesetting (fonts and metrics), the
// settings it was opened with, and the viewport. Every part of the viewer
// reads and writes their fields directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/window.h"
#include "view/limits.h"
#include "view/line_origins.h"
#include "view/text_arena.h"

namespace yomite {

// --- display lines ---------------------------------------------------------

constexpr std::uint16_t DL_PARAGRAPH_END = 1 << 0;  // last display line of a logical line
constexpr std::uint16_t DL_MARK = 1 << 1;           // the marked column (at most one)
constexpr std::uint16_t DL_QUOTE = 1 << 2;          // inside a quotation block: indented, shorter
constexpr std::uint16_t DL_CODES = 1 << 3;          // codes follow the text (set_line_text)
constexpr std::uint16_t DL_NOTATION = 1 << 4;       // has a LineNotation (set_line_notation)

// What the full notation sets on a display line (all 0 otherwise).
struct LineNotation {
  std::uint16_t indent = 0;     // px along the text where the first character starts, past the margin
  std::uint16_t shortened = 0;  // px the line is shorter than the column (indents, foot offset)
  std::uint8_t heading_from = 0;  // characters [heading_from, heading_to) are a heading
  std::uint8_t heading_to = 0;
};

// One column in vertical writing, one row in horizontal writing. Read its
// text, codes and notation through line_text, line_codes and line_notation:
// the few lines with a notation have it in the document's side table, so
// the record stays at 8 bytes.
struct DisplayLine {
  // Where its 0-terminated text lies in the document's arena (0: no text);
  // with DL_CODES the line's attribute codes follow the terminator there
  // (line_codes), so a line without markup pays nothing for them.
  std::uint32_t text;
  std::uint16_t flags;  // DL_*
  std::uint16_t unused;
};
// Memory per character is a budget: an offset and the flags.
static_assert(sizeof(DisplayLine) == 8);

// A display line's notation in the side table.
struct NotedLine {
  int line;
  LineNotation notation;
};

// Copies `n` units of `text` (which need not be terminated, and ends at a NUL
// unit) and, when `codes` is given, `code_count` codes into the arena as the
// line's text and codes, setting or clearing DL_CODES. 0 when memory runs out.
int set_line_text(TextArena& arena, DisplayLine& line, const char16_t* text, std::size_t n,
                  const std::uint16_t* codes = nullptr, std::size_t code_count = 0);

// The display-line array is reserved once in address space and made usable
// as it grows, in place: it never moves, no growth copies it, and its records
// past the last one written read as zero without being written (a page takes
// memory only once touched). A full load starts with LINES_INITIAL records
// usable; the usable part grows by LINES_GROWTH records, or by half its size
// when that is more (fewer system calls; an untouched page costs nothing).
constexpr int LINES_INITIAL = 1000;
constexpr int LINES_GROWTH = 1000;
// The array grows once an index comes this close to its usable records.
constexpr int LINES_HEADROOM = 10;
// Records reserved: every line a load lays out before its line limit stops
// it, and a wide margin for what may follow its last check (the rest of one
// logical line of at most LINE_CAPACITY units with its readings inline, the
// column that names the limit, a centred page's empty columns). Past it an
// append fails as when memory runs out. Where the system refuses that much
// address space, a smaller reservation is taken instead.
constexpr int LINES_RESERVED = DOCUMENT_MAX_LINES + (1 << 20);

// --- annotation table ------------------------------------------------------

constexpr int RUBY_ENTRIES = 16384;  // ruby code c reads entry c - 65
constexpr int NOTE_ENTRIES = 512;    // note code c reads entry 16384 + (c - 16584)
constexpr int ANNOTATION_ENTRIES = RUBY_ENTRIES + NOTE_ENTRIES;
constexpr int NOTE_FIRST_ENTRY = RUBY_ENTRIES;
// A note entry beginning with this unit is a link; the target follows it.
constexpr char16_t LINK_MARKER = 0x0001;

// --- markup dialects (text_format) ------------------------------------------

enum MarkupDialect : int { DIALECT_AUTO = 0, DIALECT_BRACE = 1, DIALECT_BRACKET = 2 };

// Ruby size in percent of the main size, kept in this range whenever fonts
// are made or the settings dialog opens.
constexpr int RUBY_PERCENT_MIN = 40;
constexpr int RUBY_PERCENT_MAX = 80;

// Colours are 0x00BBGGRR.
using Color = std::uint32_t;

// Heading levels of the full notation, largest first.
constexpr int HEADING_LARGE = 1;   // 大見出し
constexpr int HEADING_MEDIUM = 2;  // 中見出し
constexpr int HEADING_SMALL = 3;   // 小見出し

// One entry of the table of contents the full notation gathers.
struct HeadingEntry {
  int level;  // HEADING_*
  std::u16string text;
  int line;  // display line where the heading starts
};

struct LoadJob;      // a full load going on in slices (document/load.h)
struct Composition;  // standard or book composition (layout/composition.h)

// The laid-out document: its display lines, the texts and codes they point
// into, the annotation entries, and a load still going on. Owns all of it.
struct Document {
  int loaded = 0;                // a document is open and laid out
  DisplayLine* lines = nullptr;  // line_count records, in a reservation (begin_display_lines)
  // The notation of every line flagged DL_NOTATION, in the order of `line`
  // (set_line_notation).
  std::vector<NotedLine> notations;
  int line_capacity = 0;         // records usable in `lines`; the rest read as zero
  std::size_t line_reserve_bytes = 0;  // address space reserved at `lines`
  std::size_t line_populated = 0;      // bytes of `lines` taken ahead of writing
  int line_count = 0;            // display lines of the laid-out document
  std::array<char16_t*, ANNOTATION_ENTRIES> annotation_texts{};  // in the arena
  std::vector<HeadingEntry> headings;                            // full notation: in reading order
  int locked = 0;         // a locked text, or its password was refused
  std::string file_name;  // full path of the shown file; empty: nothing shown
  // The archive file_name was unpacked from (empty for a plain file): its
  // unpacked copy goes when the viewer ends, so the history keeps this one.
  std::string archive_name;

  // Every text the document keeps (display lines, codes, annotation entries).
  TextArena arena;
  // Where each display line comes from in the text (view/line_origins.h).
  LineOrigins origins;

  // A load still laying the text out in idle time, and how to end it: the
  // release step ends it first, so lines are never added to a freed array.
  LoadJob* load_job = nullptr;
  void (*end_load_job)(LoadJob* job) = nullptr;
  int load_cut = LOAD_WHOLE;  // the limit that ended the last full load early (view/limits.h)

  Document() = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
  ~Document();
};

// --- a display line's text, codes and notation ------------------------------

// The line's 0-terminated text, or null for a record never written.
inline const char16_t* line_text(const Document& doc, const DisplayLine& line) {
  return line.text ? arena_at(doc.arena, line.text) : nullptr;
}

// Units of a display line's text (0 without one).
inline int line_length(const Document& doc, const DisplayLine& line) {
  const char16_t* text = line_text(doc, line);
  return text ? static_cast<int>(std::char_traits<char16_t>::length(text)) : 0;
}

// The line's attribute codes (one per character at least), or null without markup.
inline const std::uint16_t* line_codes(const Document& doc, const DisplayLine& line) {
  const char16_t* text = line_text(doc, line);
  if (!(line.flags & DL_CODES) || !text) return nullptr;
  return reinterpret_cast<const std::uint16_t*>(text + line_length(doc, line) + 1);
}

// The notation of the line in the side table (all 0 without one).
LineNotation noted_line(const Document& doc, const DisplayLine& line);

// The full notation's indent, shortened length and heading run of the line,
// one of the document's.
inline LineNotation line_notation(const Document& doc, const DisplayLine& line) {
  return line.flags & DL_NOTATION ? noted_line(doc, line) : LineNotation{};
}

// Sets them on one of the document's lines; 0 when memory runs out.
int set_line_notation(Document& doc, DisplayLine& line, const LineNotation& notation);

// How the document is set: the fonts made for it, their metrics, the width
// cache and the composition. Owns the fonts and the cache.
struct Typesetting {
  platform::Font* font_main = nullptr;         // turned 270 degrees in vertical writing
  platform::Font* font_page_number = nullptr;  // vertical writing only
  int page_number_height = 0;                  // px
  platform::Font* font_ruby = nullptr;
  platform::Font* font_emphasis = nullptr;      // mincho, for emphasis marks, made when first drawn
  int emphasis_height = 0;                      // px it is made at; 0 once made or tried
  platform::Font* font_pair_upright = nullptr;  // face without '@', for upright digit pairs
  platform::Font* font_heading = nullptr;       // full notation: headings (bold, or Gothic)
  platform::Font* font_smaller = nullptr;       // full notation: 小さな文字
  platform::Font* font_larger = nullptr;        // full notation: 大きな文字
  int char_height = 18;                         // px, cell height of the main font
  int half_width = 0;                           // px, one half-width unit of the main font
  int ruby_height = 7;                          // px, cell height of the ruby font
  int slot_gap = 2;        // px between a slot's text and the next slot's ruby band
  int column_pitch = 27;   // px, ruby_height + char_height + slot_gap: the scrolling unit
  int fixed_pitch = 1;     // the main font is fixed-pitch
  int half_is_half = 0;    // average width is exactly half the maximum width
  int vertical = 0;        // 1 exactly when face_name begins with '@'
  int extent_swapped = 0;  // the font reports extents with the axes exchanged
  std::uint16_t* width_cache = nullptr;  // per-character widths of the main font
  // What breaking, justification and painting do, chosen with the fonts
  // (null until they are made).
  const Composition* composition = nullptr;

  Typesetting() = default;
  Typesetting(const Typesetting&) = delete;
  Typesetting& operator=(const Typesetting&) = delete;
  ~Typesetting();
};

// What the document is opened with: the settings file's values (current and
// standard), the options, and the user's toggles.
struct ViewSettings {
  int column_chars = 0;      // column length in half-width units (full width = 2)
  int std_column_chars = 0;  // settings key Width
  int page_lines = 0;        // columns (display lines) per page
  int std_page_lines = 0;    // settings key Page
  Color text_color = 0x000000;
  Color back_color = 0xFFFFFF;  // also fills strips uncovered by smooth scrolling
  Color link_color = 0x00FF00;  // link and footnote anchors
  std::string face_name;        // a leading '@' selects the vertical face
  std::string std_face_name;    // settings key Font
  int smooth_scroll = 1;
  int smooth_dots = 4;      // px per smooth-scroll step; 0 disables stepping
  int font_size = 0;        // px
  int std_font_size = 0;    // settings key Size
  int code_page = 1;        // for multibyte text; 1 = the system's (932)
  int encoding_letter = 0;  // forced encoding, upper case; 0 = detect
  int markup_enabled = 1;
  int font_smoothing = 0;  // settings Font/Smooth: kept and written, no effect
  int page_mode = 0;
  int justify = 1;                 // settings Font/Justify
  int ruby_percent = 0;            // kept in 40..80 whenever fonts are made
  int text_format = DIALECT_AUTO;  // MarkupDialect
  // Extension, settings Font/FullNotation and option A: the bracket notation's
  // other annotations (indents, headings, page breaks, gaiji, notes) are set
  // instead of shown as text. Off by default.
  int full_notation = 0;
  // Extension (settings Font/BookComposition, option N): book-grade line
  // composition; 0 = standard composition.
  // It takes effect when the fonts are made (an open or a reload):
  // create_view_fonts chooses typeset.composition from it, and breaking,
  // justification, painting and hit testing go through that, so a settings
  // notice never mixes the two.
  int book_composition = 0;
  // Extension (settings Place/Resume, on by default): a file opens where it
  // was closed, and a relayout keeps the first words shown and the mark on
  // their text. 0: the standard behaviour (top line and mark page kept).
  int keep_place = 1;
  // Extension (settings Place/Status, the menu's check item; on by default):
  // the strip under the page that shows the page and how far through the text.
  int show_status = 0;
  // Extension (settings Font/RubyMode, option U): how readings are shown:
  // 0 beside their bases, 1 left out, 2 inline after them in parentheses
  // (RUBY_* in document/ruby_modes.h). Taken when the text is laid out.
  int ruby_mode = 0;
  // Extension (settings Color/FollowDesktop): the colours follow the
  // desktop's light or dark preference (viewer/themes.h).
  int follow_desktop = 0;
  // Extension (settings Window/FitToWindow): the page follows the window's
  // size (viewer/window_fit.h); 0 = the specified window.
  int fit_window = 0;

  // Per settings key ("Section/Key"), the value as this view last read it
  // from the file or wrote it there: a key whose value still equals it was
  // not changed here, so a write leaves another viewer's newer value alone,
  // and a key that differs was changed here, so a reading keeps it.
  std::map<std::string, std::string> seen_values;
  // Per key, the value an option of the command line gave: for this run
  // only, never written, and kept when the file is read again.
  std::map<std::string, std::string> option_values;
};

// A column moving across the window in pixel steps, one step per tick of the
// shell's clock (viewer/scrolling.cc).
struct ColumnInFlight {
  int steps_left = 0;  // pixel steps still to take; 0: no column is moving
  int sign = 0;        // +1 the picture moves right (forward in columns), -1 left
  unsigned due = 0;    // platform::tick_ms() of the next step
  int delay = 0;       // ms between steps
  int dots = 0;        // px per step (smooth_dots when the column started)
};

// The automatic scroll (viewer/auto_scroll.cc): it runs one column after the
// other on ticks until a key, a click or an end stops it.
struct AutoScroll {
  int active = 0;        // running, also while paused at speed 0
  int direction = 1;     // +1 forward, -1 backward; taken when a column starts
  int stopping = 0;      // a stop came: the column in flight ends, then the scroll
  int click_button = 0;  // a click that stopped it, acted on once it stopped
  int click_x = 0;
  int click_y = 0;
};

// A search pattern holds at most this many units.
constexpr int FIND_TEXT_MAX_UNITS = 256;

// A run of shown characters: from unit `index` of display line `line` up to
// unit `end_index` of display line `end_line` (not included).
struct TextRange {
  int line = 0;
  int index = 0;
  int end_line = 0;
  int end_index = 0;
};

// A place in the text and the display line it was last found on: while that
// line is where it stands (nobody scrolled), a relayout goes on from the
// place itself, so that relayouts one after the other never drift.
struct KeptPlace {
  TextAnchor anchor;
  int line = -1;
};

// Where the document is seen: the window, the first line shown, the scroll
// bar, the mark's page and the automatic scroll.
struct Viewport {
  platform::Window* window = nullptr;  // the main window
  int top_line = 0;                    // first display line shown; a reload keeps it
  int thumb_pos = 0;                   // scroll-bar position last set, 0..1000
  int mark_page = 0;                   // 1-based page of the mark; 0 = none
  // The text at top_line and at the mark, as the release step kept them (or
  // the history gave the first) for the next open to find again.
  KeptPlace top_place;
  KeptPlace mark_place;
  // Extension: the matches of a search, in reading order, painted on the
  // page; the current one (an index, -1: none) stands out.
  std::vector<TextRange> highlights;
  int current_highlight = -1;
  int auto_speed = 0;  // sign = direction, magnitude 0..5 = speed step
  AutoScroll auto_scroll;
  ColumnInFlight column;
  // Fit to window and full screen (viewer/window_fit.h).
  int fitting = 0;             // this window's page follows its size
  int full_screen = 0;         // the window fills the screen
  int resized = 0;             // the window has a size the user (or full screen) gave it
  int relayout_pending = 0;    // a resize waits to be laid out ...
  unsigned relayout_due = 0;   // ... at this tick_ms()
  int unfit_column_chars = 0;  // the geometry before the page followed the window
  int unfit_page_lines = 0;
  int modal = 0;  // modal windows open (view/modal.h)
  // Commands other programs sent, run in order once the event loop is free
  // and no modal window is open.
  std::vector<int> waiting_commands;
};

// Everything about the document shown in the main window, in its parts.
struct ViewContext {
  Document doc;
  Typesetting typeset;
  ViewSettings settings;
  Viewport viewport;
};

// Bytes above which a successful alloc_zeroed is traced.
constexpr std::size_t ALLOC_TRACE_BYTES = 10000;

// A zero-filled block of `bytes` (free it with std::free), or null.
void* alloc_zeroed(std::size_t bytes);

// A new record with the creation defaults; the caller stores `window`.
ViewContext* create_view_context();

// Releases the document and frees the record.
void destroy_view_context(ViewContext* view);

// Frees the document and the fonts but keeps settings, file name and scroll
// position, so an open can follow at once. The mark is carried over as
// mark_page (the page of the first marked line), and the text at top_line
// and at the mark as top_place and mark_place. Safe to call twice.
void release_document(ViewContext& view);

// Each part frees what it owns (its destructor does the same); the record
// itself stays usable.
void release_document_lines(Document& doc);
void release_typesetting(Typesetting& typeset);

// Starts a full load's display lines: a new reservation with at least
// LINES_INITIAL zero records usable. 1, or 0 when memory runs out.
int begin_display_lines(ViewContext& view);

// Makes room to write display line `index`, making LINES_GROWTH more records
// usable, or half the usable ones when that is more, once the index is within
// LINES_HEADROOM of them. Returns the record, or null when the array cannot
// grow (memory ran out, the reservation is full, or the index is beyond the
// next records).
DisplayLine* display_line_slot(ViewContext& view, int index);

}  // namespace yomite
