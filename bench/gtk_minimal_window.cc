// The baseline of the viewer's start-up benchmark: the least a GTK 3 program
// does to show a window of the viewer's size and paint it once.
#include <gtk/gtk.h>

namespace {

gboolean draw(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_set_source_rgb(cr, 0.0, 0.0, 0.5);
  cairo_paint(cr);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 660, 449);
  GtkWidget* area = gtk_drawing_area_new();
  g_signal_connect(area, "draw", G_CALLBACK(draw), nullptr);
  gtk_container_add(GTK_CONTAINER(window), area);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
