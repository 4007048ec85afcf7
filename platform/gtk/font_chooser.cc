// Choosing the font: GTK's font chooser plus the writing direction, since
// Linux has no "@" faces. The platform faces are offered as the families that
// stand in for them; a family left as preset keeps the face's own name.
#include <gtk/gtk.h>

#include <cmath>

#include "platform/cairo/cairo_font.h"
#include "platform/choosers.h"
#include "platform/gtk/gtk_window.h"

namespace yomite::platform {

namespace {

constexpr const char* TITLE = "フォントの選択";
constexpr const char* VERTICAL_LABEL = "縦書き(_V)";
constexpr const char* PREVIEW = "吾輩は猫である。名前はまだ無い。「ルビ」１２３ abc";
constexpr int DEFAULT_SIZE_PX = 18;

std::string family_shown_for(const std::string& face) {
  const std::vector<std::string> families = stand_in_families(face);
  return families.empty() ? face : families.front();
}

}  // namespace

int choose_font(Window* owner, FontDescription& font) {
  if (!gdk_display_get_default()) return 0;
  const bool vertical = !font.face.empty() && font.face[0] == '@';
  const std::string face = vertical ? font.face.substr(1) : font.face;
  const std::string preset = family_shown_for(face);
  const int size = font.height != 0 ? std::abs(font.height) : DEFAULT_SIZE_PX;

  GtkWidget* d = gtk_font_chooser_dialog_new(TITLE, owner_toplevel(owner));
  gtk_window_set_modal(GTK_WINDOW(d), TRUE);
  gtk_window_set_destroy_with_parent(GTK_WINDOW(d), TRUE);
  PangoFontDescription* start = pango_font_description_new();
  pango_font_description_set_family(start, preset.c_str());
  // The chooser's size is the font's height in pixels.
  pango_font_description_set_size(start, size * PANGO_SCALE);
  gtk_font_chooser_set_font_desc(GTK_FONT_CHOOSER(d), start);
  pango_font_description_free(start);
  gtk_font_chooser_set_preview_text(GTK_FONT_CHOOSER(d), PREVIEW);
  GtkWidget* check = gtk_check_button_new_with_mnemonic(VERTICAL_LABEL);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), vertical ? TRUE : FALSE);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(d))), check, FALSE, FALSE, 4);
  gtk_widget_show(check);

  g_object_add_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  const int response = gtk_dialog_run(GTK_DIALOG(d));
  if (!d) return 0;
  int chosen = 0;
  PangoFontDescription* desc =
      response == GTK_RESPONSE_OK ? gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(d)) : nullptr;
  if (desc && pango_font_description_get_family(desc)) {
    const std::string family = pango_font_description_get_family(desc);
    const int px = static_cast<int>(
        std::lround(static_cast<double>(pango_font_description_get_size(desc)) / PANGO_SCALE));
    const std::string name = !face.empty() && same_family(family, preset) ? face : family;
    font.face = (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check)) ? "@" : "") + name;
    font.height = -(px > 0 ? px : size);
    chosen = 1;
  }
  if (desc) pango_font_description_free(desc);
  g_object_remove_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  gtk_widget_destroy(d);
  return chosen;
}

}  // namespace yomite::platform
