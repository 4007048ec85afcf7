// yomite: the reader's window. GTK takes its own options (--display ...)
// out of the arguments; the viewer reads the rest.
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/gtk/seatless.h"
#include "viewer/program.h"

int main(int argc, char** argv) {
  yomite::platform::quiet_seatless_keyboard();
  // The viewer paints with Cairo alone: GDK's OpenGL set-up, which loads the
  // GL drivers (a whole compiler with software rendering) before the first
  // window, is left out. A choice of the user's own stands, and the programs
  // the viewer starts do not inherit this one.
  const bool gl_chosen = g_getenv("GDK_GL") != nullptr;
  if (!gl_chosen) g_setenv("GDK_GL", "disable", TRUE);
  const gboolean opened = gtk_init_check(&argc, &argv);
  if (!gl_chosen) g_unsetenv("GDK_GL");
  if (!opened) {
    std::fprintf(stderr, "yomite: cannot open the display\n");
    return 1;
  }
  return yomite::run_viewer(argc, argv);
}
