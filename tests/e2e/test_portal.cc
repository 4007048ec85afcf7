// A settings portal for the end-to-end tests: owns
// org.freedesktop.portal.Desktop on the session bus and answers
// org.freedesktop.portal.Settings for org.freedesktop.appearance color-scheme
// with the number it was started with. Each line on standard input ("0",
// "1", "2") becomes the new value and is announced by SettingChanged.
// "ready" is printed once the name is owned.
//
//   test_portal SCHEME
#include <gio/gio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* NAME = "org.freedesktop.portal.Desktop";
constexpr const char* PATH = "/org/freedesktop/portal/desktop";
constexpr const char* INTERFACE = "org.freedesktop.portal.Settings";
constexpr const char* XML =
    "<node><interface name='org.freedesktop.portal.Settings'>"
    "<method name='Read'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
    "<arg type='v' direction='out'/></method>"
    "<method name='ReadOne'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
    "<arg type='v' direction='out'/></method>"
    "<signal name='SettingChanged'><arg type='s'/><arg type='s'/><arg type='v'/></signal>"
    "<property name='version' type='u' access='read'/>"
    "</interface></node>";

guint32 g_scheme = 0;
GDBusConnection* g_bus = nullptr;
GMainLoop* g_loop = nullptr;

void on_call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
             GVariant* parameters, GDBusMethodInvocation* invocation, gpointer) {
  const gchar *space = nullptr, *key = nullptr;
  g_variant_get(parameters, "(&s&s)", &space, &key);
  if (std::strcmp(space, "org.freedesktop.appearance") != 0 ||
      std::strcmp(key, "color-scheme") != 0) {
    g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.portal.Error.NotFound",
                                               "Requested setting not found");
    return;
  }
  GVariant* value = g_variant_new_uint32(g_scheme);
  // Read wraps the value once more, as the portal's first version does.
  if (std::strcmp(method, "Read") == 0) value = g_variant_new_variant(value);
  g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value));
}

GVariant* on_get(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GError**,
                 gpointer) {
  return g_variant_new_uint32(2);
}

gboolean on_input(GIOChannel* in, GIOCondition, gpointer) {
  gchar* line = nullptr;
  if (g_io_channel_read_line(in, &line, nullptr, nullptr, nullptr) != G_IO_STATUS_NORMAL) {
    g_main_loop_quit(g_loop);
    return G_SOURCE_REMOVE;
  }
  g_scheme = static_cast<guint32>(std::strtoul(line, nullptr, 10));
  g_free(line);
  g_dbus_connection_emit_signal(g_bus, nullptr, PATH, INTERFACE, "SettingChanged",
                                g_variant_new("(ssv)", "org.freedesktop.appearance", "color-scheme",
                                              g_variant_new_uint32(g_scheme)),
                                nullptr);
  g_dbus_connection_flush_sync(g_bus, nullptr, nullptr);
  std::printf("changed %u\n", g_scheme);
  std::fflush(stdout);
  return G_SOURCE_CONTINUE;
}

void on_name(GDBusConnection*, const gchar*, gpointer) {
  std::printf("ready\n");
  std::fflush(stdout);
}

void on_name_lost(GDBusConnection*, const gchar*, gpointer) {
  std::fprintf(stderr, "test_portal: the name is not ours\n");
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  g_scheme = argc > 1 ? static_cast<guint32>(std::strtoul(argv[1], nullptr, 10)) : 0;
  g_bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (!g_bus) return 1;
  GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(XML, nullptr);
  static const GDBusInterfaceVTable vtable = {on_call, on_get, nullptr, {}};
  g_dbus_connection_register_object(g_bus, PATH, node->interfaces[0], &vtable, nullptr, nullptr,
                                    nullptr);
  g_bus_own_name_on_connection(g_bus, NAME, G_BUS_NAME_OWNER_FLAGS_NONE, on_name, on_name_lost,
                               nullptr, nullptr);
  GIOChannel* in = g_io_channel_unix_new(0);
  g_io_add_watch(in, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP), on_input, nullptr);
  g_loop = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(g_loop);
  return 0;
}
