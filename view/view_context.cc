#include "view/view_context.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string_view>

#include "platform/memory.h"
#include "trace/trace.h"

namespace yomite {

void* alloc_zeroed(std::size_t bytes) {
  void* p = std::calloc(1, bytes);
  if (p && bytes > ALLOC_TRACE_BYTES)
    trace("malloc %d %x ", static_cast<int>(bytes),
          static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p)));
  return p;
}

ViewContext* create_view_context() {
  return new ViewContext();
}

void destroy_view_context(ViewContext* view) {
  if (!view) return;
  release_document(*view);
  delete view;
}

namespace {

void delete_font(platform::Font*& font) {
  if (font) platform::font_delete(font);
  font = nullptr;
}

// The mark survives a reload only as a page: the first marked line's page.
// A view already released keeps the page it has, so that a release before a
// reload (which releases again) does not lose it.
void keep_mark_page(ViewContext& v) {
  if (!v.doc.lines) return;
  v.viewport.mark_page = 0;
  for (int i = 0; i < v.doc.line_count; ++i) {
    if ((v.doc.lines[i].flags & DL_MARK) && v.settings.page_lines > 0) {
      v.viewport.mark_page = i / v.settings.page_lines + 1;
      return;
    }
  }
}

// The place at `line`, unless the kept one is still found there.
void keep_place(const Document& d, KeptPlace& kept, int line) {
  if (line < 0) {
    kept = KeptPlace{};
    return;
  }
  if (kept.line == line && kept.anchor.logical >= 0) return;
  kept.anchor = anchor_at(d, line);
  kept.line = line;
}

// The text at the top and at the mark, before the lines go.
void keep_places(ViewContext& v) {
  if (!v.doc.lines || v.doc.line_count <= 0) return;
  keep_place(v.doc, v.viewport.top_place, std::min(v.viewport.top_line, v.doc.line_count - 1));
  int mark = -1;
  for (int i = 0; i < v.doc.line_count && mark < 0; ++i)
    if (v.doc.lines[i].flags & DL_MARK) mark = i;
  keep_place(v.doc, v.viewport.mark_place, mark);
}

}  // namespace

// A load still going on ends before its lines are counted or freed.
void end_load(Document& d) {
  if (d.load_job && d.end_load_job) d.end_load_job(d.load_job);
  d.load_job = nullptr;
}

namespace {

void free_display_lines(Document& d) {
  platform::release_memory(d.lines, d.line_reserve_bytes);
  d.lines = nullptr;
  d.line_capacity = 0;
  d.line_reserve_bytes = 0;
  d.line_populated = 0;
  d.notations.clear();
  d.notations.shrink_to_fit();
}

// Where the side-table entry of `line` is or would go.
template <class Notations>
auto notation_place(Notations& notations, int line) {
  return std::lower_bound(notations.begin(), notations.end(), line,
                          [](const NotedLine& n, int l) { return n.line < l; });
}

// Index of a record of the document's array, or -1 for one outside it.
int index_of(const Document& d, const DisplayLine& line) {
  const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(&line);
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(d.lines);
  if (!d.lines || at < first || at >= first + d.line_reserve_bytes) return -1;
  return static_cast<int>((at - first) / sizeof(DisplayLine));
}

}  // namespace

void release_document_lines(Document& d) {
  end_load(d);
  free_display_lines(d);
  d.line_count = 0;
  d.annotation_texts.fill(nullptr);
  d.headings.clear();
  clear_line_origins(d);
  arena_clear(d.arena);  // owns every text and code the pointers above named
}

void release_typesetting(Typesetting& t) {
  std::free(t.width_cache);
  t.width_cache = nullptr;
  delete_font(t.font_main);
  delete_font(t.font_page_number);
  delete_font(t.font_ruby);
  delete_font(t.font_emphasis);
  t.emphasis_height = 0;
  delete_font(t.font_pair_upright);
  delete_font(t.font_heading);
  delete_font(t.font_smaller);
  delete_font(t.font_larger);
}

Document::~Document() {
  release_document_lines(*this);
}

Typesetting::~Typesetting() {
  release_typesetting(*this);
}

void release_document(ViewContext& v) {
  end_load(v.doc);
  keep_mark_page(v);
  keep_places(v);
  // The search's matches name display lines: they go with them.
  v.viewport.highlights.clear();
  v.viewport.current_highlight = -1;
  release_document_lines(v.doc);
  release_typesetting(v.typeset);
}

int set_line_text(TextArena& arena, DisplayLine& line, const char16_t* text, std::size_t n,
                  const std::uint16_t* codes, std::size_t code_count) {
  // The codes are found past the terminator, so the copy ends where the
  // text's own first NUL does (readers never saw past it anyway).
  if (codes) n = std::min(n, std::u16string_view(text, n).find(u'\0'));
  const char16_t* copy = arena_copy_text_codes(arena, text, n, codes, codes ? code_count : 0);
  line.text = copy ? arena_offset(arena, copy) : 0;
  line.flags = static_cast<std::uint16_t>(codes ? line.flags | DL_CODES : line.flags & ~DL_CODES);
  return copy ? 1 : 0;
}

LineNotation noted_line(const Document& d, const DisplayLine& line) {
  const int index = index_of(d, line);
  const auto it = notation_place(d.notations, index);
  return it != d.notations.end() && it->line == index ? it->notation : LineNotation{};
}

int set_line_notation(Document& d, DisplayLine& line, const LineNotation& n) {
  const bool none = !n.indent && !n.shortened && !n.heading_from && !n.heading_to;
  if (none && !(line.flags & DL_NOTATION)) return 1;
  const int index = index_of(d, line);
  if (index < 0) return 0;
  auto it = notation_place(d.notations, index);
  const bool found = it != d.notations.end() && it->line == index;
  if (none) {
    if (found) d.notations.erase(it);
    line.flags = static_cast<std::uint16_t>(line.flags & ~DL_NOTATION);
    return 1;
  }
  if (found) {
    it->notation = n;
  } else {
    try {
      d.notations.insert(it, NotedLine{index, n});
    } catch (const std::bad_alloc&) {
      return 0;
    }
  }
  line.flags = static_cast<std::uint16_t>(line.flags | DL_NOTATION);
  return 1;
}

int begin_display_lines(ViewContext& v) {
  Document& d = v.doc;
  free_display_lines(d);
  const std::size_t first = platform::memory_whole_pages(LINES_INITIAL * sizeof(DisplayLine));
  std::size_t bytes = static_cast<std::size_t>(LINES_RESERVED) * sizeof(DisplayLine);
  void* region = platform::reserve_memory_at_most(bytes, first);
  if (!region) return 0;
  if (!platform::commit_memory(region, first)) {
    platform::release_memory(region, bytes);
    return 0;
  }
  trace("malloc %d %x ", static_cast<int>(first),
        static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(region)));
  d.lines = static_cast<DisplayLine*>(region);
  d.line_reserve_bytes = bytes;
  d.line_capacity = static_cast<int>(first / sizeof(DisplayLine));
  return 1;
}

DisplayLine* display_line_slot(ViewContext& v, int index) {
  Document& d = v.doc;
  if (!d.lines || index < 0) return nullptr;
  if (index >= d.line_capacity - LINES_HEADROOM) {
    const std::size_t capacity = static_cast<std::size_t>(d.line_capacity);
    const std::size_t wanted = capacity + std::max<std::size_t>(capacity / 2, LINES_GROWTH);
    // The usable records end on a page boundary: they are whole pages.
    std::size_t usable = capacity * sizeof(DisplayLine);
    if (!platform::commit_memory_up_to(d.lines, d.line_reserve_bytes, usable,
                                       wanted * sizeof(DisplayLine)))
      return nullptr;
    d.line_capacity = static_cast<int>(usable / sizeof(DisplayLine));
    if (index >= d.line_capacity - LINES_HEADROOM) return nullptr;  // far beyond the end
  }
  platform::populate_memory_up_to(
      d.lines, static_cast<std::size_t>(d.line_capacity) * sizeof(DisplayLine), d.line_populated,
      (static_cast<std::size_t>(index) + 1) * sizeof(DisplayLine));
  return &d.lines[index];
}

}  // namespace yomite
