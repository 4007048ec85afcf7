// Choosing a file to open and a program for the editor command.
#include <gtk/gtk.h>

#include "platform/choosers.h"
#include "platform/gtk/gtk_window.h"
#include "platform/gtk/patterns.h"

namespace yomite::platform {

namespace {

constexpr const char* CANCEL_LABEL = "ｷｬﾝｾﾙ";
constexpr const char* OPEN_LABEL = "開く(_O)";
constexpr const char* PROGRAMS_FILTER = "プログラム";
constexpr const char* ALL_FILES_FILTER = "ﾌｧｲﾙ(*.*)";

GtkWidget* open_chooser(Window* owner, const std::string& title) {
  GtkWidget* d = gtk_file_chooser_dialog_new(
      title.c_str(), owner_toplevel(owner), GTK_FILE_CHOOSER_ACTION_OPEN, CANCEL_LABEL,
      GTK_RESPONSE_CANCEL, OPEN_LABEL, GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_window_set_modal(GTK_WINDOW(d), TRUE);
  gtk_window_set_destroy_with_parent(GTK_WINDOW(d), TRUE);
  gtk_dialog_set_default_response(GTK_DIALOG(d), GTK_RESPONSE_ACCEPT);
  gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(d), TRUE);
  return d;
}

// Runs the chooser; 1 with the path of an existing file (not a folder).
int run_chooser(GtkWidget* d, std::string& path) {
  g_object_add_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  int chosen = 0;
  while (!chosen && gtk_dialog_run(GTK_DIALOG(d)) == GTK_RESPONSE_ACCEPT && d) {
    char* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(d));
    if (name && g_file_test(name, G_FILE_TEST_IS_REGULAR)) {
      path = name;
      chosen = 1;
    }
    g_free(name);
  }
  if (!d) return chosen;
  g_object_remove_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  gtk_widget_destroy(d);
  return chosen;
}

gboolean is_program(const GtkFileFilterInfo* info, gpointer) {
  return info->filename && g_file_test(info->filename, G_FILE_TEST_IS_EXECUTABLE) &&
         !g_file_test(info->filename, G_FILE_TEST_IS_DIR);
}

}  // namespace

int choose_file(Window* owner, const std::string& title, const std::vector<FileFilter>& filters,
                const std::string& folder, std::string& path) {
  if (!gdk_display_get_default()) return 0;
  GtkWidget* d = open_chooser(owner, title);
  if (!folder.empty()) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(d), folder.c_str());
  for (std::size_t i = 0; i < filters.size(); ++i) {
    GtkFileFilter* f = gtk_file_filter_new();
    gtk_file_filter_set_name(f, filters[i].name.c_str());
    for (const std::string& glob : gtk_globs(filters[i].patterns))
      gtk_file_filter_add_pattern(f, glob.c_str());
    gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(d), f);
    if (i == 0) gtk_file_chooser_set_filter(GTK_FILE_CHOOSER(d), f);
  }
  return run_chooser(d, path);
}

int choose_program_file(Window* owner, const std::string& title, std::string& path) {
  if (!gdk_display_get_default()) return 0;
  GtkWidget* d = open_chooser(owner, title);
  GtkFileFilter* programs = gtk_file_filter_new();
  gtk_file_filter_set_name(programs, PROGRAMS_FILTER);
  gtk_file_filter_add_custom(programs, GTK_FILE_FILTER_FILENAME, is_program, nullptr, nullptr);
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(d), programs);
  GtkFileFilter* all = gtk_file_filter_new();
  gtk_file_filter_set_name(all, ALL_FILES_FILTER);
  gtk_file_filter_add_pattern(all, "*");
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(d), all);
  gtk_file_chooser_set_filter(GTK_FILE_CHOOSER(d), programs);
  return run_chooser(d, path);
}

}  // namespace yomite::platform
