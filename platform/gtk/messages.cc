// Messages between viewers over the session bus: this viewer owns
// BUS_NAME_PREFIX<pid>, answers Command(i) -> (i, s) at BUS_OBJECT_PATH, and
// re-reads the settings on every SettingsChanged signal. The connection is
// made in the background while the window starts, so that no round trip to
// the bus comes before the first frame.
#include "platform/messages.h"

#include <gio/gio.h>
#include <unistd.h>

#include <string>

#include "platform/gio/bus_names.h"
#include "viewer/messages.h"
#include "viewer/reader_queries.h"

namespace yomite {

// The sender of a query: the bus call waiting for its answer, and the text
// it came with (Find, AddBookmark).
struct platform::MessageSender {
  std::string text;
  int delivered = 0;
  std::string argument;
};

namespace platform {

namespace {

constexpr const char* INTERFACE_XML =
    "<node>"
    "  <interface name='io.github.yomite.Viewer'>"
    "    <method name='Command'>"
    "      <arg type='i' name='number' direction='in'/>"
    "      <arg type='i' name='result' direction='out'/>"
    "      <arg type='s' name='text' direction='out'/>"
    "    </method>"
    "    <method name='Find'>"
    "      <arg type='s' name='text' direction='in'/>"
    "      <arg type='i' name='result' direction='out'/>"
    "      <arg type='s' name='text' direction='out'/>"
    "    </method>"
    "    <method name='AddBookmark'>"
    "      <arg type='s' name='name' direction='in'/>"
    "      <arg type='i' name='result' direction='out'/>"
    "      <arg type='s' name='text' direction='out'/>"
    "    </method>"
    "    <signal name='SettingsChanged'/>"
    "  </interface>"
    "</node>";

struct Bus {
  GCancellable* connecting = nullptr;
  GDBusConnection* connection = nullptr;
  GDBusNodeInfo* info = nullptr;
  guint object = 0;
  guint name = 0;
  guint subscription = 0;
  ViewContext* view = nullptr;
};

Bus g_bus;

// The extensions' methods: a query code with a text (viewer/reader_queries.h).
int query_of_method(const gchar* method) {
  if (g_strcmp0(method, BUS_METHOD_FIND) == 0) return QUERY_FIND;
  if (g_strcmp0(method, BUS_METHOD_ADD_BOOKMARK) == 0) return QUERY_ADD_BOOKMARK;
  return 0;
}

void answer(GDBusMethodInvocation* invocation, int result, const std::string& text) {
  // A bus string is UTF-8; a name that is not is sent with replacement marks.
  gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
  g_dbus_method_invocation_return_value(invocation, g_variant_new("(is)", result, valid));
  g_free(valid);
}

void on_method_call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                    GVariant* parameters, GDBusMethodInvocation* invocation, gpointer) {
  const int query = query_of_method(method);
  if ((g_strcmp0(method, BUS_METHOD_COMMAND) != 0 && !query) || !g_bus.view) {
    g_dbus_method_invocation_return_dbus_error(
        invocation, "org.freedesktop.DBus.Error.UnknownMethod", "no such method");
    return;
  }
  if (query) {
    const gchar* text = nullptr;
    g_variant_get(parameters, "(&s)", &text);
    MessageSender sender;
    sender.argument = text ? text : "";
    const int result = on_command_message(*g_bus.view, query, &sender);
    answer(invocation, result, sender.text);
    return;
  }
  gint32 number = 0;
  g_variant_get(parameters, "(i)", &number);
  MessageSender sender;
  const int result = on_command_message(*g_bus.view, number, &sender);
  answer(invocation, result, sender.text);
}

void on_settings_signal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                        GVariant*, gpointer) {
  if (g_bus.view) on_settings_changed(*g_bus.view);
}

const GDBusInterfaceVTable VTABLE = {on_method_call, nullptr, nullptr, {}};

void on_bus(GObject*, GAsyncResult* result, gpointer) {
  GDBusConnection* connection = g_bus_get_finish(result, nullptr);
  if (!connection) return;  // no bus: nobody can reach this viewer, and it still runs
  if (!g_bus.connecting) {  // closed meanwhile
    g_object_unref(connection);
    return;
  }
  g_clear_object(&g_bus.connecting);
  g_bus.connection = connection;
  g_bus.info = g_dbus_node_info_new_for_xml(INTERFACE_XML, nullptr);
  g_bus.object = g_dbus_connection_register_object(g_bus.connection, BUS_OBJECT_PATH,
                                                   g_bus.info->interfaces[0], &VTABLE, nullptr,
                                                   nullptr, nullptr);
  g_bus.subscription = g_dbus_connection_signal_subscribe(
      g_bus.connection, nullptr, BUS_INTERFACE, BUS_SIGNAL_SETTINGS_CHANGED, BUS_OBJECT_PATH,
      nullptr, G_DBUS_SIGNAL_FLAGS_NONE, on_settings_signal, nullptr, nullptr);
  const std::string name = BUS_NAME_PREFIX + std::to_string(getpid());
  g_bus.name =
      g_bus_own_name_on_connection(g_bus.connection, name.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
                                   nullptr, nullptr, nullptr, nullptr);
  on_messages_ready(*g_bus.view);
}

}  // namespace

int messages_open(ViewContext* view) {
  if (g_bus.connection || g_bus.connecting) return 1;
  g_bus.view = view;
  g_bus.connecting = g_cancellable_new();
  g_bus_get(G_BUS_TYPE_SESSION, g_bus.connecting, on_bus, nullptr);
  return 1;
}

void messages_close() {
  if (g_bus.connecting) {
    g_cancellable_cancel(g_bus.connecting);
    g_object_unref(g_bus.connecting);
  }
  if (!g_bus.connection) {
    g_bus = Bus{};
    return;
  }
  if (g_bus.name) g_bus_unown_name(g_bus.name);
  if (g_bus.subscription)
    g_dbus_connection_signal_unsubscribe(g_bus.connection, g_bus.subscription);
  if (g_bus.object) g_dbus_connection_unregister_object(g_bus.connection, g_bus.object);
  if (g_bus.info) g_dbus_node_info_unref(g_bus.info);
  g_object_unref(g_bus.connection);
  g_bus = Bus{};
}

int send_text_to(MessageSender* sender, const std::string& text) {
  if (!sender) return 0;
  sender->text = text;
  sender->delivered = 1;
  return 1;
}

std::string sender_argument(MessageSender* sender) {
  return sender ? sender->argument : std::string();
}

}  // namespace platform
}  // namespace yomite
