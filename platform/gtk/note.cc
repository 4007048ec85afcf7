// The note window of a footnote and the plain message box.
#include <gtk/gtk.h>

#include "platform/dialogs.h"
#include "platform/gtk/gtk_window.h"

namespace yomite::platform {

namespace {

constexpr int NOTE_WIDTH = 350;  // px
constexpr int NOTE_HEIGHT = 200;
constexpr const char* OK_LABEL = "OK";

GtkWidget* modal_dialog(Window* owner, const std::string& title) {
  GtkWidget* d = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(d), title.c_str());
  gtk_window_set_transient_for(GTK_WINDOW(d), owner_toplevel(owner));
  gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_window_set_modal(GTK_WINDOW(d), TRUE);
  gtk_window_set_destroy_with_parent(GTK_WINDOW(d), TRUE);
  return d;
}

// Runs `d` until it is answered, then destroys it (unless its owner did).
void run_and_destroy(GtkWidget* d) {
  g_object_add_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  gtk_dialog_run(GTK_DIALOG(d));
  if (!d) return;
  g_object_remove_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  gtk_widget_destroy(d);
}

}  // namespace

void show_note(Window* owner, const std::string& text) {
  GtkWidget* d = modal_dialog(owner, NOTE_WINDOW_TITLE);
  gtk_window_set_default_size(GTK_WINDOW(d), NOTE_WIDTH, NOTE_HEIGHT);
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), text.c_str(), -1);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(d));
  gtk_container_set_border_width(GTK_CONTAINER(content), 6);
  gtk_box_pack_start(GTK_BOX(content), scrolled, TRUE, TRUE, 0);
  GtkWidget* ok = gtk_dialog_add_button(GTK_DIALOG(d), OK_LABEL, GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(d), GTK_RESPONSE_OK);
  gtk_widget_show_all(content);
  // Enter closes at once; the text is still selectable with the pointer.
  gtk_widget_grab_focus(ok);
  run_and_destroy(d);
}

void message_box(Window* owner, const std::string& text, const std::string& caption) {
  GtkWidget* d = gtk_message_dialog_new(
      owner_toplevel(owner),
      static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(d), caption.c_str());
  gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_dialog_add_button(GTK_DIALOG(d), OK_LABEL, GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(d), GTK_RESPONSE_OK);
  run_and_destroy(d);
}

}  // namespace yomite::platform
