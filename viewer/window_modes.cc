// The relayout that keeps the reader's place, the resize that waits until it
// rests, and the commands of fit to window and full screen.
#include <algorithm>
#include <string>

#include "document/load.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "viewer/command_handlers.h"
#include "viewer/commands.h"
#include "viewer/scrolling.h"
#include "viewer/window_fit.h"

namespace yomite {

namespace {

// Display lines laid out between two looks for the place.
constexpr int RELAYOUT_STEP_LINES = 256;

int first_marked_line(const ViewContext& v) {
  for (int i = 0; i < v.doc.line_count; ++i)
    if (v.doc.lines[i].flags & DL_MARK) return i;
  return -1;
}

// Lays out until `finders` have found their lines and a screenful follows
// the first one, or the text ends. 1 while there is more to lay out.
int lay_out_to(ViewContext& v, LoadJob& job, PlaceFinder* finders, int count) {
  const int screen = visible_lines(v) + 2;
  for (;;) {
    bool all = true;
    for (int k = 0; k < count; ++k) all = finders[k].scan(v) >= 0 && all;
    if (all && v.doc.line_count > finders[0].found + screen) return 1;
    if (!continue_full_load(job, v.doc.line_count + RELAYOUT_STEP_LINES, -1)) {
      for (int k = 0; k < count; ++k) finders[k].scan(v);
      return 0;
    }
  }
}

void set_fitting(ViewContext& v, int on);

// The window's mode changed: the page follows it now, or the window takes
// the page's specified size again.
void refit(ViewContext& v) {
  settle_column(v);
  if (page_follows_window(v)) {
    v.viewport.resized = 1;
    if (v.doc.loaded && fit_geometry_to_window(v)) relayout_keeping_place(v);
    return;
  }
  if (v.viewport.unfit_column_chars) {
    v.settings.column_chars = v.viewport.unfit_column_chars;
    v.settings.page_lines = v.viewport.unfit_page_lines;
    v.viewport.unfit_column_chars = v.viewport.unfit_page_lines = 0;
  }
  v.viewport.resized = 0;
  v.viewport.relayout_pending = 0;
  if (v.doc.loaded) reopen_document(v, 0);
}

void set_fitting(ViewContext& v, int on) {
  v.viewport.fitting = on ? 1 : 0;
  platform::window_allow_maximize(v.viewport.window, v.viewport.fitting);
  refit(v);
}

}  // namespace

void on_window_resized(ViewContext& v) {
  v.viewport.resized = 1;
  if (!page_follows_window(v) || !v.doc.loaded) return;
  v.viewport.relayout_pending = 1;
  v.viewport.relayout_due = platform::tick_ms() + RESIZE_SETTLE_MS;
  platform::window_request_tick(v.viewport.window, RESIZE_SETTLE_MS);
}

void run_due_relayout(ViewContext& v) {
  if (!v.viewport.relayout_pending) return;
  const int wait = static_cast<int>(v.viewport.relayout_due - platform::tick_ms());
  if (wait > 0) {
    // The automatic scroll asks for ticks of its own; otherwise ask again.
    if (!column_in_flight(v) && !v.viewport.auto_scroll.active)
      platform::window_request_tick(v.viewport.window, wait);
    return;
  }
  v.viewport.relayout_pending = 0;
  if (page_follows_window(v) && v.doc.loaded && fit_geometry_to_window(v))
    relayout_keeping_place(v);
}

void relayout_keeping_place(ViewContext& v) {
  settle_column(v);
  const int marked = first_marked_line(v);
  PlaceFinder finders[2] = {PlaceFinder(place_of_line(v, v.viewport.top_line)),
                            PlaceFinder(marked >= 0 ? place_of_line(v, marked) : TextPlace{})};
  const int count = marked >= 0 ? 2 : 1;
  release_document_lines(v.doc);
  if (LoadJob* job = begin_full_load(v)) {
    // What the picture shows first; the rest in idle time, as opening does.
    if (!lay_out_to(v, *job, finders, count) ||
        !platform::window_call_when_idle(v.viewport.window)) {
      while (continue_full_load(*job, -1, -1)) {
      }
      end_full_load(job);
    }
  }
  const int last = std::max(v.doc.line_count - 1, 0);
  v.viewport.top_line = finders[0].found >= 0 ? finders[0].found : last;
  if (marked >= 0 && v.doc.line_count > 0)
    v.doc.lines[finders[1].found >= 0 ? finders[1].found : last].flags |= DL_MARK;
  update_scroll_bar(v);
  platform::window_invalidate(v.viewport.window, nullptr, 1);
}

void apply_window_fit(ViewContext& v) {
  v.viewport.fitting = v.settings.fit_window ? 1 : 0;
  platform::window_allow_maximize(v.viewport.window, v.viewport.fitting);
}

void set_fit_to_window(ViewContext& v, int on) {
  v.settings.fit_window = on ? 1 : 0;
  write_settings(v);
  if ((on ? 1 : 0) != v.viewport.fitting) set_fitting(v, on);
}

void cmd_fit_window(ViewContext& v, int) {
  set_fit_to_window(v, !v.settings.fit_window);
}

void cmd_full_screen(ViewContext& v, int) {
  v.viewport.full_screen = !v.viewport.full_screen;
  platform::window_set_full_screen(v.viewport.window, v.viewport.full_screen);
  // Filling the screen, the new size comes as a resize; leaving it, the
  // window takes the page's specified size again unless the page follows it.
  if (!v.viewport.full_screen) refit(v);
}

}  // namespace yomite
