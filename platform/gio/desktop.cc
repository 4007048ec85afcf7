// The user's text editor, default handlers of link targets and the
// settings-changed signal, through GIO.
#include "platform/desktop.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unistd.h>

#include <cstring>

#include "platform/gio/bus_names.h"

namespace yomite::platform {

namespace {

// Editors tried on the PATH, in order, when the desktop names none.
constexpr const char* FALLBACK_EDITORS[] = {"gnome-text-editor", "gedit", "kate",
                                            "mousepad",          "xed",   "pluma"};

// Whether an application entry starts this viewer rather than an editor.
bool is_this_viewer(GAppInfo* app) {
  const char* id = g_app_info_get_id(app);
  if (id && std::strstr(id, "yomite")) return true;
  const char* exe = g_app_info_get_executable(app);
  if (!exe) return false;
  const char* base = std::strrchr(exe, '/');
  base = base ? base + 1 : exe;
  if (std::strcmp(base, "yomite") == 0) return true;
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return false;
  self[n] = 0;
  g_autofree char* found = g_find_program_in_path(exe);
  return found && std::strcmp(found, self) == 0;
}

// An editor that runs in a terminal (vim, nano) cannot be started from a
// window program without one.
bool needs_terminal(GAppInfo* app) {
  return G_IS_DESKTOP_APP_INFO(app) &&
         g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(app), "Terminal");
}

// The entry's command line without the desktop field codes (%f %U ...):
// the viewer appends the file itself.
std::string command_without_field_codes(GAppInfo* app) {
  const char* line = g_app_info_get_commandline(app);
  if (!line) line = g_app_info_get_executable(app);
  if (!line) return "";
  std::string out;
  for (const char* p = line; *p; ++p) {
    if (*p != '%') {
      out += *p;
    } else if (p[1] == '%') {
      out += '%';
      ++p;
    } else if (p[1]) {
      ++p;  // a field code: dropped with its letter
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string desktop_editor() {
  GAppInfo* app = g_app_info_get_default_for_type("text/plain", FALSE);
  std::string command;
  if (app && !is_this_viewer(app) && !needs_terminal(app))
    command = command_without_field_codes(app);
  if (app) g_object_unref(app);
  if (!command.empty()) return command;
  GList* all = g_app_info_get_all_for_type("text/plain");
  for (GList* l = all; l && command.empty(); l = l->next) {
    GAppInfo* candidate = G_APP_INFO(l->data);
    if (!is_this_viewer(candidate) && !needs_terminal(candidate))
      command = command_without_field_codes(candidate);
  }
  g_list_free_full(all, g_object_unref);
  return command;
}

std::string path_editor() {
  for (const char* name : FALLBACK_EDITORS) {
    g_autofree char* found = g_find_program_in_path(name);
    if (found) return name;
  }
  return "";
}

}  // namespace

std::string default_text_editor() {
  // Asked once per process: the desktop's answer does not change while we run.
  static const std::string editor = [] {
    std::string e = desktop_editor();
    return e.empty() ? path_editor() : e;
  }();
  return editor;
}

void notify_settings_changed() {
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (!bus) return;  // no session bus: nobody to tell
  g_dbus_connection_emit_signal(bus, nullptr, BUS_OBJECT_PATH, BUS_INTERFACE,
                                BUS_SIGNAL_SETTINGS_CHANGED, nullptr, nullptr);
  // The writer may exit right after closing its window.
  g_dbus_connection_flush_sync(bus, nullptr, nullptr);
  g_object_unref(bus);
}

// A URI begins with a scheme: a letter, then letters, digits, '+', '-' or
// '.', then ':'.
static bool has_uri_scheme(const std::string& target) {
  std::size_t colon = target.find(':');
  if (colon == std::string::npos || colon == 0) return false;
  if (!g_ascii_isalpha(target[0])) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    const char c = target[i];
    if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

int open_with_default_handler(const std::string& target) {
  std::string uri = target;
  if (!has_uri_scheme(target)) {
    GFile* file = g_file_new_for_path(target.c_str());
    char* u = g_file_get_uri(file);
    uri = u ? u : "";
    g_free(u);
    g_object_unref(file);
  }
  GError* error = nullptr;
  const gboolean ok = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
  if (error) g_error_free(error);
  return ok ? 1 : 0;
}

int is_runnable_file(const std::string& path) {
  if (g_file_test(path.c_str(), G_FILE_TEST_IS_EXECUTABLE)) return 1;
  const char* dot = std::strrchr(path.c_str(), '.');
  if (dot && g_ascii_strcasecmp(dot, ".desktop") == 0) return 1;
  gboolean uncertain = FALSE;
  char* type = g_content_type_guess(path.c_str(), nullptr, 0, &uncertain);
  const bool launcher = type && g_content_type_is_a(type, "application/x-desktop");
  g_free(type);
  return launcher ? 1 : 0;
}

}  // namespace yomite::platform
