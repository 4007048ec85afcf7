// Starting processes from argument vectors, never through a shell: new
// viewers (waited for until their bus name appears) and the editor.
#include "platform/process.h"

#include <gio/gio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "platform/gio/bus_names.h"

namespace yomite::platform {

namespace {

// How often a new viewer's bus name is looked for, ms.
constexpr int READY_POLL_MS = 20;

void reap(GPid, gint, gpointer) {}

// Starts args; 1 with `pid`, the child left for the caller to reap.
int spawn(const std::vector<std::string>& args, GSpawnFlags flags, GPid* pid) {
  if (args.empty() || args[0].empty()) return 0;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  GError* error = nullptr;
  const gboolean ok = g_spawn_async(nullptr, argv.data(), nullptr,
                                    static_cast<GSpawnFlags>(flags | G_SPAWN_DO_NOT_REAP_CHILD),
                                    nullptr, nullptr, pid, &error);
  if (error) g_error_free(error);
  return ok ? 1 : 0;
}

bool name_has_owner(GDBusConnection* bus, const std::string& name) {
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
      g_variant_new("(s)", name.c_str()), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE,
      VIEWER_READY_WAIT_MS, nullptr, nullptr);
  if (!reply) return false;
  gboolean owned = FALSE;
  g_variant_get(reply, "(b)", &owned);
  g_variant_unref(reply);
  return owned;
}

// Waits (without running this viewer's own loop) until the child owns its
// bus name, exits, or the time is up. True when the child has exited (and is
// reaped).
bool wait_until_ready(GPid pid) {
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (!bus) return false;  // no bus: nothing to wait for
  const std::string name = BUS_NAME_PREFIX + std::to_string(pid);
  const gint64 deadline = g_get_monotonic_time() + 1000LL * VIEWER_READY_WAIT_MS;
  bool exited = false;
  while (g_get_monotonic_time() < deadline) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      exited = true;
      break;
    }
    if (name_has_owner(bus, name)) break;
    g_usleep(1000 * READY_POLL_MS);
  }
  g_object_unref(bus);
  return exited;
}

}  // namespace

std::string own_program_path() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  return std::string(path, static_cast<std::size_t>(n));
}

int start_viewer_process(const std::vector<std::string>& args) {
  GPid pid = 0;
  if (!spawn(args, static_cast<GSpawnFlags>(0), &pid)) return 0;
  if (!wait_until_ready(pid)) g_child_watch_add(pid, reap, nullptr);
  return 1;
}

int start_program(const std::vector<std::string>& args) {
  GPid pid = 0;
  if (!spawn(args, G_SPAWN_SEARCH_PATH, &pid)) return 0;
  g_child_watch_add(pid, reap, nullptr);  // reaped from the loop when it ends
  return 1;
}

}  // namespace yomite::platform
