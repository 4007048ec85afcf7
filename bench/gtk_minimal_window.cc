// The baseline of the viewer's start-up benchmark: the least a GTK 3 program
// does to show a window of the viewer's size and paint one page of text in
// it (20 lines of 20 kanji and kana in IPAGothic, through Pango).
#include <gtk/gtk.h>

#include <string>

namespace {

constexpr int LINES = 20;
constexpr const char* LINE = "祖父が亡くなって三月ほど経った頃、私は駅裏の貸";

gboolean draw(GtkWidget* widget, cairo_t* cr, gpointer) {
  cairo_set_source_rgb(cr, 0.0, 0.0, 0.5);
  cairo_paint(cr);
  std::string page;
  for (int i = 0; i < LINES; ++i) page.append(LINE).append("\n");
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, page.c_str());
  PangoFontDescription* font = pango_font_description_from_string("IPAGothic 18px");
  pango_layout_set_font_description(layout, font);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
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
