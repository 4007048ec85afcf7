// Fit to window on the real window (GTK backend, on whatever display DISPLAY
// names): the page after a resize, from the relayout to the picture, with
// the place in the middle of the text, against a page turn's target of
// 100 ms, and against opening the same text (its first picture).
//
//   bench_viewer_resize FILE
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/window.h"
#include "view/view_context.h"
#include "viewer/open.h"
#include "viewer/program.h"
#include "viewer/scrolling.h"
#include "viewer/window_fit.h"

using namespace yomite;

namespace {

constexpr int RUNS = 7;  // the median is reported
constexpr double TARGET_MS = 100;

double ms_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void settle() {
  for (int i = 0; i < 20; ++i) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(5 * 1000);
  }
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_viewer_resize FILE\n");
    return 2;
  }
  gtk_init(&argc, &argv);
  ViewContext* v = create_view_context();
  v->viewport.window = platform::window_create();
  platform::window_attach_view(v->viewport.window, v);
  v->settings.ruby_percent = 60;
  v->doc.file_name = argv[1];
  std::vector<double> opens, resizes;
  for (int run = 0; run < RUNS; ++run) {
    v->doc.loaded = 0;
    release_document(*v);
    v->viewport.top_line = 0;
    const auto start = std::chrono::steady_clock::now();
    open_document(*v, 0, 0, 0, nullptr);
    platform::window_update(v->viewport.window);
    opens.push_back(ms_since(start));
    while (v->doc.load_job) on_idle(*v);
  }
  platform::window_show(v->viewport.window);
  settle();
  v->viewport.fitting = 1;
  v->viewport.resized = 1;
  for (int run = 0; run < RUNS; ++run) {
    while (v->doc.load_job) on_idle(*v);
    jump_to(*v, v->doc.line_count / 2);
    // Another height each time: a new column length to lay out.
    platform::window_set_bounds(v->viewport.window, 0, 0, 0, 900, 500 + 40 * (run % 2));
    settle();
    const auto start = std::chrono::steady_clock::now();
    if (fit_geometry_to_window(*v)) relayout_keeping_place(*v);
    platform::window_update(v->viewport.window);
    resizes.push_back(ms_since(start));
  }
  const double open = median(opens), resize = median(resizes);
  std::printf(
      "fit to window, a resize in the middle of %d columns: the new page in %6.1f ms   "
      "target %.0f ms   ratio %.2f (target <= 1.00)\n",
      v->doc.line_count, resize, TARGET_MS, resize / TARGET_MS);
  std::printf(
      "                                       opening: its first picture in %6.1f ms   "
      "ratio %.2f\n",
      open, resize / open);
  platform::window_post_close(v->viewport.window);
  destroy_view_context(v);
  return 0;
}
