#include "view/view_context.h"

#include <cstdlib>
#include <cstring>

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

}  // namespace

void release_document(ViewContext& v) {
  if (v.load_job && v.end_load_job) v.end_load_job(v.load_job);
  v.load_job = nullptr;
  // The mark survives a reload only as a page: the first marked line's page.
  // A view already released keeps the page it has, so that a release before
  // a reload (which releases again) does not lose it.
  if (v.lines) v.mark_page = 0;
  for (int i = 0; i < v.line_count; ++i) {
    DisplayLine& line = v.lines[i];
    if (v.mark_page == 0 && (line.flags & DL_MARK) && v.page_lines > 0)
      v.mark_page = i / v.page_lines + 1;
    line.text = nullptr;
    line.attrs = nullptr;
  }
  std::free(v.lines);
  v.lines = nullptr;
  v.line_count = 0;
  v.line_capacity = 0;
  v.annotation_texts.fill(nullptr);
  v.headings.clear();
  arena_clear(v.arena);  // owns every text and code the pointers above named
  std::free(v.width_cache);
  v.width_cache = nullptr;
  delete_font(v.font_main_upright);
  delete_font(v.font_main);
  delete_font(v.font_page_number);
  delete_font(v.font_ruby);
  delete_font(v.font_ruby_upright);
  delete_font(v.font_emphasis);
  delete_font(v.font_pair_upright);
  delete_font(v.font_heading);
}

int begin_display_lines(ViewContext& v) {
  std::free(v.lines);
  v.lines = static_cast<DisplayLine*>(alloc_zeroed(LINES_INITIAL * sizeof(DisplayLine)));
  v.line_capacity = v.lines ? LINES_INITIAL : 0;
  return v.lines ? 1 : 0;
}

DisplayLine* display_line_slot(ViewContext& v, int index) {
  if (!v.lines || index < 0) return nullptr;
  if (index >= v.line_capacity - LINES_HEADROOM) {
    const int step = v.line_capacity / 2 > LINES_GROWTH ? v.line_capacity / 2 : LINES_GROWTH;
    int capacity = v.line_capacity + step;
    void* grown = std::realloc(v.lines, static_cast<std::size_t>(capacity) * sizeof(DisplayLine));
    if (!grown) return nullptr;
    v.lines = static_cast<DisplayLine*>(grown);
    std::memset(v.lines + v.line_capacity, 0, static_cast<std::size_t>(step) * sizeof(DisplayLine));
    v.line_capacity = capacity;
    if (index >= v.line_capacity - LINES_HEADROOM) return nullptr;  // far beyond the end
  }
  return &v.lines[index];
}

}  // namespace yomite
