#include "view/view_context.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

void release_document_lines(Document& d) {
  end_load(d);
  std::free(d.lines);
  d.lines = nullptr;
  d.line_count = 0;
  d.line_capacity = 0;
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
  line.text = arena_copy_text_codes(arena, text, n, codes, codes ? code_count : 0);
  line.flags = static_cast<std::uint16_t>(codes ? line.flags | DL_CODES : line.flags & ~DL_CODES);
  return line.text ? 1 : 0;
}

int begin_display_lines(ViewContext& v) {
  std::free(v.doc.lines);
  v.doc.lines = static_cast<DisplayLine*>(alloc_zeroed(LINES_INITIAL * sizeof(DisplayLine)));
  v.doc.line_capacity = v.doc.lines ? LINES_INITIAL : 0;
  return v.doc.lines ? 1 : 0;
}

DisplayLine* display_line_slot(ViewContext& v, int index) {
  if (!v.doc.lines || index < 0) return nullptr;
  if (index >= v.doc.line_capacity - LINES_HEADROOM) {
    const int step =
        v.doc.line_capacity / 2 > LINES_GROWTH ? v.doc.line_capacity / 2 : LINES_GROWTH;
    int capacity = v.doc.line_capacity + step;
    void* grown =
        std::realloc(v.doc.lines, static_cast<std::size_t>(capacity) * sizeof(DisplayLine));
    if (!grown) return nullptr;
    v.doc.lines = static_cast<DisplayLine*>(grown);
    std::memset(v.doc.lines + v.doc.line_capacity, 0,
                static_cast<std::size_t>(step) * sizeof(DisplayLine));
    v.doc.line_capacity = capacity;
    if (index >= v.doc.line_capacity - LINES_HEADROOM) return nullptr;  // far beyond the end
  }
  return &v.doc.lines[index];
}

}  // namespace yomite
