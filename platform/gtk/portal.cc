// The desktop's light or dark preference from the settings portal
// (org.freedesktop.portal.Settings: namespace org.freedesktop.appearance,
// key color-scheme, 1 dark, 0 and 2 light), read once on the session bus and
// kept up to date by its SettingChanged signal.
#include <gio/gio.h>

#include <cstring>

#include "platform/appearance.h"
#include "viewer/themes.h"

namespace yomite::platform {

namespace {

constexpr const char* PORTAL_NAME = "org.freedesktop.portal.Desktop";
constexpr const char* PORTAL_PATH = "/org/freedesktop/portal/desktop";
constexpr const char* SETTINGS_INTERFACE = "org.freedesktop.portal.Settings";
constexpr const char* APPEARANCE = "org.freedesktop.appearance";
constexpr const char* COLOR_SCHEME = "color-scheme";
// A portal that does not answer in this time says nothing.
constexpr int READ_TIMEOUT_MS = 1000;

int g_scheme = SCHEME_UNKNOWN;
bool g_read = false;
ViewContext* g_view = nullptr;

// The portal's value, inside as many variants as its version wraps it in.
int scheme_of(GVariant* value) {
  GVariant* v = g_variant_ref(value);
  while (g_variant_is_of_type(v, G_VARIANT_TYPE_VARIANT)) {
    GVariant* inner = g_variant_get_variant(v);
    g_variant_unref(v);
    v = inner;
  }
  int scheme = SCHEME_UNKNOWN;
  if (g_variant_is_of_type(v, G_VARIANT_TYPE_UINT32))
    scheme = g_variant_get_uint32(v) == 1 ? SCHEME_DARK : SCHEME_LIGHT;
  g_variant_unref(v);
  return scheme;
}

GDBusConnection* session_bus() {
  return g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
}

// A desktop without a portal running is not started one: it says nothing.
void read_scheme() {
  g_read = true;
  GDBusConnection* bus = session_bus();
  if (!bus) return;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, PORTAL_NAME, PORTAL_PATH, SETTINGS_INTERFACE, "Read",
      g_variant_new("(ss)", APPEARANCE, COLOR_SCHEME), G_VARIANT_TYPE("(v)"),
      G_DBUS_CALL_FLAGS_NO_AUTO_START, READ_TIMEOUT_MS, nullptr, nullptr);
  if (reply) {
    GVariant* value = g_variant_get_child_value(reply, 0);
    g_scheme = scheme_of(value);
    g_variant_unref(value);
    g_variant_unref(reply);
  }
  g_object_unref(bus);
}

void on_setting_changed(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                        GVariant* parameters, gpointer) {
  if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) return;
  const gchar* space = nullptr;
  const gchar* key = nullptr;
  GVariant* value = nullptr;
  g_variant_get(parameters, "(&s&sv)", &space, &key, &value);
  if (std::strcmp(space, APPEARANCE) == 0 && std::strcmp(key, COLOR_SCHEME) == 0) {
    const int scheme = scheme_of(value);
    g_read = true;
    if (scheme != g_scheme) {
      g_scheme = scheme;
      if (g_view) on_desktop_scheme_changed(*g_view);
    }
  }
  g_variant_unref(value);
}

}  // namespace

int desktop_color_scheme() {
  if (!g_read) read_scheme();
  return g_scheme;
}

void watch_desktop_color_scheme(ViewContext* view) {
  if (g_view) return;
  GDBusConnection* bus = session_bus();
  if (!bus) return;
  g_view = view;
  // The connection stays for the process's life, with the subscription.
  g_dbus_connection_signal_subscribe(bus, nullptr, SETTINGS_INTERFACE, "SettingChanged",
                                     PORTAL_PATH, APPEARANCE, G_DBUS_SIGNAL_FLAGS_NONE,
                                     on_setting_changed, nullptr, nullptr);
}

}  // namespace yomite::platform
