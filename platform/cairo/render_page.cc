#include "platform/cairo/render_page.h"

#include <cairo-pdf.h>

#include <cerrno>

#include "layout/paint.h"
#include "platform/cairo/cairo_canvas.h"
#include "platform/output.h"

namespace yomite {

namespace {

// Full-width cells along a column besides its length: the top margin and room
// for hanging punctuation and justification.
constexpr int EXTRA_HALF_UNITS = 8;

void paint_page(ViewContext& view, platform::Canvas& canvas, int page) {
  const int saved = view.viewport.top_line;
  if (page > 0) view.viewport.top_line = (page - 1) * view.settings.page_lines;
  PaintRect all{0, 0, canvas.width, canvas.height};
  paint_view(view, canvas, all, all);
  view.viewport.top_line = saved;
}

// A page file on its way to the disk (platform/output.h): nothing of an
// existing file is lost when the write fails, and every write is checked.
struct PageOutput {
  platform::OutputFile file;
  int error = 0;  // errno of the first failure
};

constexpr const char* TEMP_PREFIX = ".yomite-render-";

int begin_output(PageOutput& out, const char* path) {
  if (platform::output_open(out.file, path, TEMP_PREFIX)) return 1;
  out.error = errno;
  return 0;
}

cairo_status_t write_output(void* closure, const unsigned char* data, unsigned length) {
  auto* out = static_cast<PageOutput*>(closure);
  if (out->error == 0 && platform::output_write(out->file, data, length))
    return CAIRO_STATUS_SUCCESS;
  if (out->error == 0) out->error = errno;
  return CAIRO_STATUS_WRITE_ERROR;
}

// Commits a complete output, else discards it; 1 or 0 with errno set.
int end_output(PageOutput& out, int ok) {
  if (ok && out.error == 0 && platform::output_commit(out.file)) return 1;
  if (out.error == 0) out.error = ok ? errno : EIO;
  platform::output_discard(out.file);
  errno = out.error;
  return 0;
}

}  // namespace

void page_client_size(const ViewContext& view, int* width, int* height) {
  const int along = view.typeset.half_width * (view.settings.column_chars + EXTRA_HALF_UNITS);
  int across = view.typeset.column_pitch * (view.settings.page_lines > 0 ? view.settings.page_lines : 1);
  *width = view.typeset.vertical ? across : along;
  *height = view.typeset.vertical ? along : across;
}

int page_count(const ViewContext& view) {
  if (view.settings.page_lines <= 0 || view.doc.line_count <= 0) return 1;
  return (view.doc.line_count + view.settings.page_lines - 1) / view.settings.page_lines;
}

int render_page_png(ViewContext& view, int page, const char* path, int width, int height) {
  if (page < 0 || page > page_count(view)) return 0;
  int w = width, h = height;
  if (w <= 0 || h <= 0) page_client_size(view, &w, &h);
  platform::Canvas* canvas = platform::cairo_canvas_create_image(w, h);
  if (!canvas) return 0;
  paint_page(view, *canvas, page);
  cairo_surface_t* s = platform::cairo_canvas_surface(*canvas);
  cairo_surface_flush(s);
  PageOutput out;
  int ok = begin_output(out, path) &&
           cairo_surface_write_to_png_stream(s, write_output, &out) == CAIRO_STATUS_SUCCESS;
  platform::canvas_destroy(canvas);
  return end_output(out, ok);
}

int render_pages_pdf(ViewContext& view, const char* path, int width, int height) {
  int w = width, h = height;
  if (w <= 0 || h <= 0) page_client_size(view, &w, &h);
  PageOutput out;
  if (!begin_output(out, path)) return end_output(out, 0);
  cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(write_output, &out, w, h);
  platform::Canvas* canvas = platform::cairo_canvas_create_for(pdf, w, h);
  cairo_surface_destroy(pdf);  // the canvas holds it
  if (!canvas) return end_output(out, 0);
  const int pages = page_count(view);
  for (int page = 1; page <= pages; ++page) {
    paint_page(view, *canvas, page);
    cairo_show_page(platform::cairo_canvas_context(*canvas));
  }
  cairo_surface_t* s = platform::cairo_canvas_surface(*canvas);
  cairo_surface_finish(s);  // the last bytes go out here
  int ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS ? 1 : 0;
  platform::canvas_destroy(canvas);
  return end_output(out, ok);
}

}  // namespace yomite
