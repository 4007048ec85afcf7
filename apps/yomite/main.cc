// yomite: the reader's window. GTK takes its own options (--display ...)
// out of the arguments; the viewer reads the rest.
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/gtk/seatless.h"
#include "viewer/program.h"

int main(int argc, char** argv) {
  yomite::platform::quiet_seatless_keyboard();
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "yomite: cannot open the display\n");
    return 1;
  }
  return yomite::run_viewer(argc, argv);
}
