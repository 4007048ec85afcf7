// The floor of a whole command that lays text out through Pango: a program
// that does nothing but load IPAGothic 18 through Pango and read one metric.
// It pays the dynamic loader for Pango, Cairo, HarfBuzz and FreeType and
// fontconfig's start, as yomite-render does before it reads a line;
// `scripts/bench load` times it beside the iconv command.
#include <pango/pangocairo.h>

#include <cstdio>

int main() {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* face = pango_font_description_from_string("IPAGothic 18");
  PangoFont* font = pango_font_map_load_font(map, context, face);
  if (!font) return 1;
  PangoFontMetrics* metrics = pango_font_get_metrics(font, nullptr);
  std::printf("%d\n", pango_font_metrics_get_approximate_char_width(metrics));
  pango_font_metrics_unref(metrics);
  g_object_unref(font);
  pango_font_description_free(face);
  g_object_unref(context);
  return 0;
}
