// The backing image: the window's pixels kept in an image at the screen's
// scale. Painting, shifting and validating work on it; the draw handler and
// window_flush only copy it to the screen.
#include <gtk/gtk.h>

#include <cstring>

#include "platform/cairo/cairo_canvas.h"
#include "platform/gtk/gtk_window.h"
#include "view/view_context.h"
#include "viewer/program.h"

namespace yomite::platform {

namespace {

// Pending regions are painted from the loop before GTK redraws the frame.
constexpr int PAINT_PRIORITY = G_PRIORITY_HIGH_IDLE + 15;

cairo_rectangle_int_t rect_of(const WindowRect& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

cairo_rectangle_int_t backing_rect(const Window& w) {
  return {0, 0, w.backing_width, w.backing_height};
}

void fill_back_color(const Window& w, cairo_t* cr) {
  const std::uint32_t c = w.view ? w.view->settings.back_color : 0xFFFFFF;
  cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                       ((c >> 16) & 0xFF) / 255.0);
}

// A backing image of the client size at the area's scale; a new one is all
// pending, as a resized window is painted again whole.
void ensure_backing(Window& w) {
  if (!w.area) return;
  int width = 0, height = 0;
  client_size_of(w, &width, &height);
  const int scale = gtk_widget_get_scale_factor(w.area);
  if (w.backing && width == w.backing_width && height == w.backing_height && scale == w.scale)
    return;
  if (w.canvas) canvas_destroy(w.canvas);
  if (w.backing) cairo_surface_destroy(w.backing);
  w.canvas = nullptr;
  w.backing = nullptr;
  w.backing_width = width;
  w.backing_height = height;
  w.scale = scale;
  if (width <= 0 || height <= 0) return;
  w.backing = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width * scale, height * scale);
  cairo_surface_set_device_scale(w.backing, scale, scale);
  w.canvas = cairo_canvas_create_for(w.backing, width, height);
  cairo_t* cr = cairo_create(w.backing);
  fill_back_color(w, cr);
  cairo_paint(cr);
  cairo_destroy(cr);
  const cairo_rectangle_int_t all = backing_rect(w);
  cairo_region_union_rectangle(w.pending, &all);
}

gboolean paint_from_idle(gpointer data) {
  auto* w = static_cast<Window*>(data);
  w->paint_idle = 0;
  paint_pending(*w);
  return G_SOURCE_REMOVE;
}

void schedule_paint(Window& w) {
  if (!w.paint_idle && !cairo_region_is_empty(w.pending))
    w.paint_idle = g_idle_add_full(PAINT_PRIORITY, paint_from_idle, &w, nullptr);
}

// Copies the backing image onto `cr` (area coordinates); what lies beyond it
// (a size not settled yet) gets the background.
void draw_backing(const Window& w, cairo_t* cr, int area_width, int area_height) {
  if (area_width > w.backing_width || area_height > w.backing_height) {
    fill_back_color(w, cr);
    cairo_paint(cr);
  }
  if (!w.backing) return;
  cairo_set_source_surface(cr, w.backing, 0, 0);
  cairo_rectangle(cr, 0, 0, w.backing_width, w.backing_height);
  cairo_fill(cr);
}

// Shows the whole backing image on the screen before returning: drawn into
// the toplevel's frame now, and the display waited for.
void present(Window& w) {
  if (!w.toplevel || !gtk_widget_is_drawable(w.area)) return;
  GdkWindow* top = gtk_widget_get_window(w.toplevel);
  if (!top) return;
  int x = 0, y = 0;
  if (!gtk_widget_translate_coordinates(w.area, w.toplevel, 0, 0, &x, &y)) return;
  const int aw = gtk_widget_get_allocated_width(w.area);
  const int ah = gtk_widget_get_allocated_height(w.area);
  const cairo_rectangle_int_t r = {x, y, aw, ah};
  cairo_region_t* region = cairo_region_create_rectangle(&r);
  GdkDrawingContext* context = gdk_window_begin_draw_frame(top, region);
  cairo_t* cr = gdk_drawing_context_get_cairo_context(context);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rectangle(cr, 0, 0, aw, ah);
  cairo_clip(cr);
  draw_backing(w, cr, aw, ah);
  cairo_restore(cr);
  gdk_window_end_draw_frame(top, context);
  cairo_region_destroy(region);
  gdk_display_sync(gdk_window_get_display(top));
}

// Moves the pixels of `area` (clipped to the image) by dx, dy logical px.
void shift_pixels(Window& w, int dx, int dy, const cairo_rectangle_int_t& area) {
  cairo_rectangle_int_t dest = area;
  dest.x += dx;
  dest.y += dy;
  if (!gdk_rectangle_intersect(&dest, &area, &dest)) return;
  const int s = w.scale;
  cairo_surface_flush(w.backing);
  unsigned char* data = cairo_image_surface_get_data(w.backing);
  const int stride = cairo_image_surface_get_stride(w.backing);
  const int rows = dest.height * s;
  const std::size_t bytes = static_cast<std::size_t>(dest.width) * s * 4;
  for (int i = 0; i < rows; ++i) {
    const int row = dy > 0 ? rows - 1 - i : i;  // downward: the bottom row first
    const int to_y = dest.y * s + row;
    const int from_y = to_y - dy * s;
    std::memmove(data + static_cast<std::ptrdiff_t>(to_y) * stride + dest.x * s * 4,
                 data + static_cast<std::ptrdiff_t>(from_y) * stride + (dest.x - dx) * s * 4,
                 bytes);
  }
  cairo_surface_mark_dirty(w.backing);
}

// What waited to be painted inside `area` moves with its pixels; what the
// shift uncovered waits to be painted too.
void shift_pending(Window& w, int dx, int dy, const cairo_rectangle_int_t& area) {
  cairo_region_t* inside = cairo_region_copy(w.pending);
  cairo_region_intersect_rectangle(inside, &area);
  cairo_region_subtract_rectangle(w.pending, &area);
  cairo_region_translate(inside, dx, dy);
  cairo_region_t* uncovered = cairo_region_create_rectangle(&area);
  cairo_rectangle_int_t kept = area;
  kept.x += dx;
  kept.y += dy;
  cairo_region_subtract_rectangle(uncovered, &kept);
  cairo_region_union(inside, uncovered);
  cairo_region_intersect_rectangle(inside, &area);
  cairo_region_union(w.pending, inside);
  cairo_region_destroy(uncovered);
  cairo_region_destroy(inside);
}

Window* drawable(Window* w) {
  if (!w || !w->toplevel) return nullptr;
  ensure_backing(*w);
  return w->backing ? w : nullptr;
}

}  // namespace

void picture_init(Window& w) {
  w.pending = cairo_region_create();
  g_signal_connect(w.area, "draw", G_CALLBACK(on_area_draw), &w);
  g_signal_connect(w.area, "size-allocate", G_CALLBACK(on_area_size_allocate), &w);
}

void picture_release(Window& w) {
  if (w.paint_idle) g_source_remove(w.paint_idle);
  w.paint_idle = 0;
  if (w.canvas) canvas_destroy(w.canvas);
  if (w.backing) cairo_surface_destroy(w.backing);
  if (w.pending) cairo_region_destroy(w.pending);
  w.canvas = nullptr;
  w.backing = nullptr;
  w.pending = nullptr;
}

gboolean on_area_draw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* w = static_cast<Window*>(data);
  ensure_backing(*w);
  // Normally painted already from the idle callback; a frame drawn before
  // it ran still shows the right picture.
  paint_pending(*w);
  draw_backing(*w, cr, gtk_widget_get_allocated_width(widget),
               gtk_widget_get_allocated_height(widget));
  return TRUE;
}

void on_area_size_allocate(GtkWidget*, GdkRectangle*, gpointer data) {
  auto* w = static_cast<Window*>(data);
  ensure_backing(*w);
  schedule_paint(*w);
}

void paint_pending(Window& w) {
  if (!w.view || !w.backing || !w.pending || cairo_region_is_empty(w.pending)) return;
  cairo_region_t* region = w.pending;
  w.pending = cairo_region_create();
  cairo_rectangle_int_t e;
  cairo_region_get_extents(region, &e);
  cairo_t* cr = cairo_canvas_context(*w.canvas);
  cairo_save(cr);
  gdk_cairo_region(cr, region);
  cairo_clip(cr);
  on_paint(*w.view, *w.canvas, PaintRect{0, 0, w.backing_width, w.backing_height},
           PaintRect{e.x, e.y, e.x + e.width, e.y + e.height});
  cairo_restore(cr);
  if (w.area) gtk_widget_queue_draw_region(w.area, region);
  cairo_region_destroy(region);
}

void window_request_repaint(Window* window) {
  window_invalidate(window, nullptr, 1);
}

// Every pixel is painted by the core, so there is nothing to erase first.
void window_invalidate(Window* window, const WindowRect* rect, int) {
  Window* w = drawable(window);
  if (!w) return;
  cairo_rectangle_int_t r = rect ? rect_of(*rect) : backing_rect(*w);
  const cairo_rectangle_int_t all = backing_rect(*w);
  if (!gdk_rectangle_intersect(&r, &all, &r)) return;
  cairo_region_union_rectangle(w->pending, &r);
  schedule_paint(*w);
}

void window_validate(Window* window, const WindowRect& rect) {
  Window* w = drawable(window);
  if (!w) return;
  const cairo_rectangle_int_t r = rect_of(rect);
  cairo_region_subtract_rectangle(w->pending, &r);
}

void window_scroll(Window* window, int dx, int dy, const WindowRect& rect) {
  Window* w = drawable(window);
  if (!w || (dx == 0 && dy == 0)) return;
  cairo_rectangle_int_t area = rect_of(rect);
  const cairo_rectangle_int_t all = backing_rect(*w);
  if (!gdk_rectangle_intersect(&area, &all, &area)) return;
  shift_pixels(*w, dx, dy, area);
  shift_pending(*w, dx, dy, area);
  schedule_paint(*w);
  gtk_widget_queue_draw_area(w->area, area.x, area.y, area.width, area.height);
}

void window_update(Window* window) {
  Window* w = drawable(window);
  if (!w) return;
  paint_pending(*w);
  present(*w);
}

Canvas* window_canvas(Window* window) {
  Window* w = drawable(window);
  return w ? w->canvas : nullptr;
}

void window_flush(Window* window) {
  Window* w = drawable(window);
  if (w) present(*w);
}

}  // namespace yomite::platform
