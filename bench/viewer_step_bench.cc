// One smooth one-column step of the real window (GTK backend, on whatever
// display DISPLAY names), timed in process against what its waits alone take:
// column_pitch / smooth_dots steps of the dot delay of each automatic-scroll
// speed. The rest is the animation itself: shifting, filling, showing every
// step and painting the new column.
//
//   bench_viewer_step FILE
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/window.h"
#include "settings/settings.h"
#include "view/view_context.h"
#include "viewer/open.h"
#include "viewer/scrolling.h"

using namespace yomite;

namespace {

constexpr int COLUMNS = 12;  // steps timed per speed; the median is reported

void settle() {
  for (int i = 0; i < 50; ++i) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(10 * 1000);
  }
}

double median_step_ms(ViewContext& v, int speed) {
  std::vector<double> times;
  for (int i = 0; i < COLUMNS; ++i) {
    v.viewport.auto_speed = speed;
    const auto start = std::chrono::steady_clock::now();
    scroll_step(v, 1, 1);
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    v.viewport.auto_speed = 0;
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_viewer_step FILE\n");
    return 2;
  }
  gtk_init(&argc, &argv);
  ViewContext* v = create_view_context();
  v->viewport.window = platform::window_create();
  platform::window_attach_view(v->viewport.window, v);
  v->settings.back_color = 0x7F0000;
  v->settings.text_color = 0xFFFFFF;
  v->settings.ruby_percent = 60;
  v->doc.file_name = argv[1];
  open_document(*v, 0, 0, 0, nullptr);
  platform::window_show(v->viewport.window);
  settle();
  const int steps = v->typeset.column_pitch / v->settings.smooth_dots;
  for (int speed : {1, 3, 5}) {
    const double waits = steps * dot_delay_ms(speed);
    const double step = median_step_ms(*v, speed);
    std::printf(
        "speed %d  one column %7.2f ms  its waits %5.0f ms (%d x %d ms)  ratio %.3f "
        "(target <= 1.10)\n",
        speed, step, waits, steps, dot_delay_ms(speed), step / waits);
  }
  v->viewport.auto_speed = 0;
  std::printf("no wait   one column %7.2f ms (%d pixel steps and the new column)\n",
              median_step_ms(*v, 0), steps);
  platform::window_post_close(v->viewport.window);
  destroy_view_context(v);
  return 0;
}
