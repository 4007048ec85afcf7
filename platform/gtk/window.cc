// The main window's life: made, titled, shown, closed; its size and place,
// and the event loop.
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <deque>

#include "platform/gtk/gtk_window.h"
#include "viewer/program.h"
#include "viewer/window_fit.h"

namespace yomite::platform {

namespace {

constexpr int INITIAL_SIZE = 300;
constexpr const char* INITIAL_TITLE = "Yomite";

Window* g_main = nullptr;
int g_exit_code = 0;

// The window manager draws a frame with minimize and close, no maximize
// (unless the page follows the window).
void set_frame_hints(const Window& w) {
  GdkWindow* gw = w.toplevel ? gtk_widget_get_window(w.toplevel) : nullptr;
  if (!gw) return;
  const int maximize = w.may_maximize ? GDK_FUNC_MAXIMIZE : 0;
  gdk_window_set_functions(
      gw, static_cast<GdkWMFunction>(GDK_FUNC_RESIZE | GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE |
                                     GDK_FUNC_CLOSE | maximize));
  const int maximize_button = w.may_maximize ? GDK_DECOR_MAXIMIZE : 0;
  gdk_window_set_decorations(
      gw, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_RESIZEH | GDK_DECOR_TITLE |
                                       GDK_DECOR_MENU | GDK_DECOR_MINIMIZE | maximize_button));
}

void on_realize(GtkWidget*, gpointer data) {
  set_frame_hints(*static_cast<Window*>(data));
}

// A maximize request that got through all the same is undone, unless the
// page follows the window.
gboolean on_window_state(GtkWidget* toplevel, GdkEventWindowState* event, gpointer data) {
  const auto* w = static_cast<Window*>(data);
  if (!w->may_maximize && (event->changed_mask & GDK_WINDOW_STATE_MAXIMIZED) &&
      (event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED))
    gtk_window_unmaximize(GTK_WINDOW(toplevel));
  return FALSE;
}

// The user (or the window manager, or full screen) gave the window another
// size than the core last asked for. The event's size is the toplevel's
// surface, which on Wayland holds the shadows and title bar GTK draws
// around the content; the window's own size is the content's.
gboolean on_configure(GtkWidget* toplevel, GdkEventConfigure*, gpointer data) {
  auto* w = static_cast<Window*>(data);
  int width = 0, height = 0;
  gtk_window_get_size(GTK_WINDOW(toplevel), &width, &height);
  if (width == w->outer_width && height == w->outer_height) return FALSE;
  w->outer_width = width;
  w->outer_height = height;
  if (w->view) on_window_resized(*w->view);
  return FALSE;
}

// Work the core leaves for idle time, after paints and input (a long text
// being laid out).
gboolean call_on_idle(gpointer data) {
  auto* w = static_cast<Window*>(data);
  if (w->view && on_idle(*w->view)) return G_SOURCE_CONTINUE;
  w->work_idle = 0;
  return G_SOURCE_REMOVE;
}

void on_destroy(GtkWidget*, gpointer data) {
  auto* w = static_cast<Window*>(data);
  if (w->work_idle) g_source_remove(w->work_idle);
  w->work_idle = 0;
  clock_stop(*w);
  picture_release(*w);
  w->toplevel = nullptr;
  w->area = nullptr;
  w->bars[0] = w->bars[1] = nullptr;
  w->status = nullptr;
  if (g_main == w) g_main = nullptr;
  if (gtk_main_level() > 0) gtk_main_quit();
}

bool on_wayland() {
#ifdef GDK_WINDOWING_WAYLAND
  return GDK_IS_WAYLAND_DISPLAY(gdk_display_get_default());
#else
  return false;
#endif
}

}  // namespace

Window* main_window() {
  return g_main;
}

GtkWindow* owner_toplevel(Window* owner) {
  if (!owner) owner = g_main;
  return owner && owner->toplevel ? GTK_WINDOW(owner->toplevel) : nullptr;
}

Window* window_create() {
  // The record outlives its widgets: the core still asks it for sizes while
  // it shuts down.
  static std::deque<Window> made;
  made.emplace_back();
  Window* w = &made.back();
  w->toplevel = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (!w->toplevel) return nullptr;
  GtkWindow* top = GTK_WINDOW(w->toplevel);
  gtk_window_set_title(top, INITIAL_TITLE);
  gtk_window_set_default_size(top, INITIAL_SIZE, INITIAL_SIZE);
  gtk_window_set_resizable(top, TRUE);
  w->outer_width = w->outer_height = INITIAL_SIZE;

  GtkWidget* grid = gtk_grid_new();
  w->area = gtk_drawing_area_new();
  gtk_widget_set_hexpand(w->area, TRUE);
  gtk_widget_set_vexpand(w->area, TRUE);
  gtk_widget_set_can_focus(w->area, TRUE);
  scroll_bars_init(*w);
  gtk_grid_attach(GTK_GRID(grid), w->area, 0, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), w->bars[SCROLL_BAR_VERT], 1, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), w->bars[SCROLL_BAR_HORZ], 0, 1, 1, 1);
  // The strip of an extension, under the horizontal bar as the Windows
  // build has it.
  gtk_grid_attach(GTK_GRID(grid), status_init(*w), 0, 2, 2, 1);
  gtk_container_add(GTK_CONTAINER(w->toplevel), grid);
  gtk_widget_show(grid);
  gtk_widget_show(w->area);

  picture_init(*w);
  input_init(*w);
  g_signal_connect(w->toplevel, "realize", G_CALLBACK(on_realize), w);
  g_signal_connect(w->toplevel, "window-state-event", G_CALLBACK(on_window_state), w);
  g_signal_connect(w->toplevel, "configure-event", G_CALLBACK(on_configure), w);
  g_signal_connect(w->toplevel, "destroy", G_CALLBACK(on_destroy), w);
  g_main = w;
  return w;
}

void window_attach_view(Window* window, ViewContext* view) {
  if (window) window->view = view;
}

void window_set_title(Window* window, const std::string& title) {
  if (window && window->toplevel) gtk_window_set_title(GTK_WINDOW(window->toplevel), title.c_str());
}

int window_call_when_idle(Window* window) {
  if (!window || !window->toplevel) return 0;
  if (!window->work_idle)
    window->work_idle = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, call_on_idle, window, nullptr);
  return 1;
}

void window_show(Window* window) {
  if (!window || !window->toplevel) return;
  gtk_widget_show(window->toplevel);
  gtk_widget_grab_focus(window->area);
}

int run_event_loop() {
  if (g_main) gtk_main();
  return g_exit_code;
}

void window_post_close(Window* window) {
  // As the close button does: a delete event from the loop, then destroy.
  if (window && window->toplevel) gtk_window_close(GTK_WINDOW(window->toplevel));
}

void window_destroy(Window* window) {
  if (!window || !window->toplevel) return;
  window->view = nullptr;
  gtk_widget_destroy(window->toplevel);
}

void window_focus(Window* window) {
  if (!window || !window->toplevel) return;
  if (!gtk_window_is_active(GTK_WINDOW(window->toplevel)))
    gtk_window_present(GTK_WINDOW(window->toplevel));
  gtk_widget_grab_focus(window->area);
}

int window_screen_position(Window* window, int* x, int* y) {
  *x = *y = 0;
  if (!window || !window->toplevel || on_wayland()) return 0;
  gtk_window_get_position(GTK_WINDOW(window->toplevel), x, y);
  return 1;
}

void client_size_of(const Window& w, int* width, int* height) {
  *width = w.outer_width;
  *height = w.outer_height;
  if (w.bar_shown[SCROLL_BAR_VERT]) *width -= scroll_bar_thickness(SCROLL_BAR_VERT);
  if (w.bar_shown[SCROLL_BAR_HORZ]) *height -= scroll_bar_thickness(SCROLL_BAR_HORZ);
  *height -= status_height(w);
  if (*width < 0) *width = 0;
  if (*height < 0) *height = 0;
}

void window_client_size(Window* window, int* width, int* height) {
  *width = *height = 0;
  if (window && window->toplevel) client_size_of(*window, width, height);
}

void window_set_bounds(Window* window, int move, int x, int y, int width, int height) {
  if (!window || !window->toplevel || width <= 0 || height <= 0) return;
  GtkWindow* top = GTK_WINDOW(window->toplevel);
  // The size holds from now on, as the core expects; the window manager's
  // answer arrives later as a configure event.
  window->outer_width = width;
  window->outer_height = height + status_height(*window);  // the strip is not the core's
  gtk_window_resize(top, window->outer_width, window->outer_height);
  // A Wayland compositor places windows itself.
  if (move && !on_wayland()) gtk_window_move(top, x, y);
}

void window_allow_maximize(Window* window, int allow) {
  if (!window || !window->toplevel) return;
  window->may_maximize = allow;
  set_frame_hints(*window);
  if (!allow && gtk_window_is_maximized(GTK_WINDOW(window->toplevel)))
    gtk_window_unmaximize(GTK_WINDOW(window->toplevel));
}

void window_set_full_screen(Window* window, int on) {
  if (!window || !window->toplevel) return;
  window->full_screen = on;
  if (on)
    gtk_window_fullscreen(GTK_WINDOW(window->toplevel));
  else
    gtk_window_unfullscreen(GTK_WINDOW(window->toplevel));
}

void window_set_busy(Window* window, int busy) {
  if (!window || !window->toplevel) return;
  window->busy = busy;
  GdkWindow* gw = gtk_widget_get_window(window->toplevel);
  if (!gw) return;  // not realized: nothing to show it on yet
  GdkCursor* cursor = busy ? gdk_cursor_new_from_name(gdk_window_get_display(gw), "wait") : nullptr;
  gdk_window_set_cursor(gw, cursor);
  if (cursor) g_object_unref(cursor);
  gdk_display_flush(gdk_window_get_display(gw));
}

// The frame is drawn outside the content by the window manager, so only the
// scroll bars count; a screen-filling window leaves the work area less the
// frame the window manager puts around this one.
void system_measures(SystemMeasures* m) {
  *m = {};
  m->hscroll_height = scroll_bar_thickness(SCROLL_BAR_HORZ);
  m->vscroll_width = scroll_bar_thickness(SCROLL_BAR_VERT);
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return;
  GdkWindow* gw = g_main && g_main->toplevel ? gtk_widget_get_window(g_main->toplevel) : nullptr;
  GdkMonitor* monitor = gw ? gdk_display_get_monitor_at_window(display, gw)
                           : gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return;
  GdkRectangle work;
  gdk_monitor_get_workarea(monitor, &work);
  int decoration = 0;
  if (gw && gdk_window_is_visible(gw)) {
    GdkRectangle frame;
    gdk_window_get_frame_extents(gw, &frame);
    decoration = frame.height - gdk_window_get_height(gw);
  }
  m->full_screen_client_height = work.height - (decoration > 0 ? decoration : 0);
  // The window's content never exceeds what the work area holds.
  m->screen_width = work.width;
  m->screen_height = m->full_screen_client_height;
}

}  // namespace yomite::platform
