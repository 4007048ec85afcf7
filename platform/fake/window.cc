#include <algorithm>
#include <cstdio>

#include "platform/appearance.h"
#include "platform/fake/fake_window.h"

namespace yomite {

namespace {

int g_modifiers = 0;
int g_beeps = 0;
platform::Window* g_last_created = nullptr;
unsigned g_clock = 0;  // advanced by flushes and by the tests
int g_flush_ms = 0;
int g_scheme = platform::SCHEME_UNKNOWN;
ViewContext* g_watcher = nullptr;

std::string rect_text(const platform::WindowRect& r) {
  char s[64];
  std::snprintf(s, sizeof s, "%d %d %d %d", r.left, r.top, r.right, r.bottom);
  return s;
}

}  // namespace

platform::SystemMeasures& platform::fake_system_measures() {
  static SystemMeasures measures = {17, 17, 4, 4, 2, 2, 19, 1000, 1920, 1050};
  return measures;
}

// --- life -----------------------------------------------------------------------

platform::Window* platform::window_create() {
  // Tests own their windows; this one lives as long as the process.
  static std::deque<Window> made;
  made.emplace_back();
  g_last_created = &made.back();
  g_last_created->client_width = 292;  // 300 x 300 less the fake frame
  g_last_created->client_height = 273;
  g_last_created->title = "Yomite";
  return g_last_created;
}

platform::Window* fake::last_created_window() {
  return g_last_created;
}

void platform::window_attach_view(Window* window, ViewContext* view) {
  if (window) window->view = view;
}

void platform::window_set_title(Window* window, const std::string& title) {
  if (window) window->title = title;
}

void platform::window_accept_drops(Window* window) {
  if (window) ++window->drops_accepted;
}

void platform::window_show(Window* window) {
  if (window) ++window->shown;
}

// Nothing to wait for: the window closes as soon as the loop would start.
int platform::run_event_loop() {
  return 0;
}

void platform::window_post_close(Window* window) {
  if (window) ++window->close_posted;
}

// The tests' windows live as long as the process (window_create).
void platform::window_destroy(Window*) {}

void platform::window_focus(Window* window) {
  if (window) ++window->focused;
}

int platform::window_screen_position(Window* window, int* x, int* y) {
  *x = window ? std::max(window->x, 0) : 0;
  *y = window ? std::max(window->y, 0) : 0;
  return window ? 1 : 0;
}

// --- size -------------------------------------------------------------------------

void platform::window_client_size(Window* window, int* width, int* height) {
  *width = window ? window->client_width : 0;
  *height = window ? window->client_height : 0;
}

void platform::window_set_busy(Window* window, int busy) {
  if (!window) return;
  if (busy && !window->busy) ++window->busy_shown;
  window->busy = busy;
}

void platform::system_measures(SystemMeasures* measures) {
  *measures = fake_system_measures();
}

// The client area is what the frame, edges and caption leave of the outer size.
void platform::window_set_bounds(Window* window, int move, int x, int y, int width, int height) {
  if (!window) return;
  const SystemMeasures& m = fake_system_measures();
  ++window->bounds_set;
  if (move) {
    window->x = x;
    window->y = y;
    ++window->moved;
  }
  window->width = width;
  window->height = height;
  window->client_width = width - 2 * m.frame_width - 2 * m.edge_width;
  window->client_height = height - m.caption_height - 2 * m.frame_height - 2 * m.edge_height;
}

void platform::window_allow_maximize(Window* window, int allow) {
  if (window) window->maximize_allowed = allow;
}

void platform::window_set_full_screen(Window* window, int on) {
  if (window) window->full_screen = on;
}

int platform::desktop_color_scheme() {
  return g_scheme;
}

void platform::watch_desktop_color_scheme(ViewContext* view) {
  g_watcher = view;
}

void fake::set_color_scheme(int scheme) {
  g_scheme = scheme;
}

ViewContext* fake::color_scheme_watcher() {
  return g_watcher;
}

// --- scroll bars ------------------------------------------------------------------

void platform::scroll_bar_set_range(Window* window, int bar, int min, int max) {
  if (!window || bar < 0 || bar > 1) return;
  ScrollBarState& b = window->bars[bar];
  b.min = min;
  b.max = max;
  ++b.range_sets;
}

void platform::scroll_bar_set_thumb(Window* window, int bar, int page, int pos) {
  if (!window || bar < 0 || bar > 1) return;
  ScrollBarState& b = window->bars[bar];
  b.page = page;
  b.pos = pos;
  ++b.thumb_sets;
}

int platform::scroll_bar_page(Window* window, int bar) {
  return window && bar >= 0 && bar <= 1 ? window->bars[bar].page : 0;
}

void platform::window_set_status(Window* window, int shown, const std::string& text) {
  if (!window) return;
  window->status_shown = shown;
  window->status = text;
}

void platform::scroll_bar_set_tooltip(Window* window, int bar, const std::string& text) {
  if (window && bar >= 0 && bar <= 1) window->tooltips[bar] = text;
}

// --- the picture ------------------------------------------------------------------

void platform::window_request_repaint(Window* window) {
  if (window) ++window->repaints;
}

void platform::window_invalidate(Window* window, const WindowRect* rect, int erase) {
  if (!window) return;
  window->log.push_back("invalidate " + (rect ? rect_text(*rect) : std::string("all")) + " " +
                        std::to_string(erase));
}

void platform::window_validate(Window* window, const WindowRect& rect) {
  if (window) window->log.push_back("validate " + rect_text(rect));
}

void platform::window_scroll(Window* window, int dx, int dy, const WindowRect& area) {
  if (!window) return;
  window->log.push_back("scroll " + std::to_string(dx) + " " + std::to_string(dy) + " " +
                        rect_text(area));
}

void platform::window_update(Window* window) {
  if (window) window->log.push_back("update");
}

int platform::window_call_when_idle(Window* window) {
  if (!window || !window->idle_calls) return 0;
  ++window->idle_requests;
  return 1;
}

void platform::window_flush(Window* window) {
  if (window) window->log.push_back("flush");
  g_clock += static_cast<unsigned>(g_flush_ms);
}

// Fills and other drawing on the window's picture go into the window's log
// through a recording canvas.
platform::Canvas* platform::window_canvas(Window* window) {
  if (!window) return nullptr;
  if (!window->canvas) {
    window->canvas_log = std::make_shared<fake::Recording>();
    window->canvas =
        fake::new_recording_canvas(*window->canvas_log, "win", std::max(window->client_width, 1),
                                   std::max(window->client_height, 1));
  }
  return window->canvas;
}

// --- input and sounds ---------------------------------------------------------------

int platform::modifiers_down() {
  return g_modifiers;
}

void fake::set_modifiers(int modifiers) {
  g_modifiers = modifiers;
}

void platform::window_request_tick(Window* window, int ms) {
  if (!window) return;
  window->tick_requests.push_back(ms);
  window->tick_due = g_clock + static_cast<unsigned>(std::max(ms, 0));
  window->tick_pending = 1;
}

void fake::advance_clock(int ms) {
  g_clock += static_cast<unsigned>(ms);
}

void platform::beep() {
  ++g_beeps;
}

unsigned platform::tick_ms() {
  return g_clock;
}

void fake::set_flush_ms(int ms) {
  g_flush_ms = ms;
}

int fake::beeps() {
  return g_beeps;
}

void fake::reset_sounds_and_clock() {
  g_beeps = 0;
  g_flush_ms = 0;
  g_scheme = platform::SCHEME_UNKNOWN;
}

std::vector<std::string> fake::window_log_with(const platform::Window& window,
                                               const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : window.log)
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
  return out;
}

}  // namespace yomite
