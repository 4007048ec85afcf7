// Files dropped from a file manager: a text/uri-list, its file: URIs as
// paths, handed to the core once the drop is finished.
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/gtk/gtk_window.h"
#include "platform/gtk/uri_list.h"
#include "viewer/messages.h"

namespace yomite::platform {

namespace {

struct Drop {
  Window* window;
  std::vector<std::string> paths;
};

// Each new viewer may be waited for: the file manager hears that the drop is
// done first, so it does not hang meanwhile.
gboolean deliver(gpointer data) {
  auto* drop = static_cast<Drop*>(data);
  if (drop->window->view && drop->window->toplevel)
    on_dropped_files(*drop->window->view, drop->paths);
  delete drop;
  return G_SOURCE_REMOVE;
}

void on_drag_data_received(GtkWidget*, GdkDragContext*, gint, gint, GtkSelectionData* data, guint,
                           guint, gpointer window) {
  const guchar* bytes = gtk_selection_data_get_data(data);
  const gint length = gtk_selection_data_get_length(data);
  std::vector<std::string> paths;
  if (bytes && length > 0)
    paths = paths_of_uri_list(std::string(reinterpret_cast<const char*>(bytes), length));
  // GTK finishes the drop itself (GTK_DEST_DEFAULT_DROP) when this returns.
  if (!paths.empty()) g_idle_add(deliver, new Drop{static_cast<Window*>(window), std::move(paths)});
}

}  // namespace

void window_accept_drops(Window* window) {
  if (!window || !window->area) return;
  static const GtkTargetEntry targets[] = {{const_cast<gchar*>("text/uri-list"), 0, 0}};
  gtk_drag_dest_set(window->area, GTK_DEST_DEFAULT_ALL, targets, 1, GDK_ACTION_COPY);
  g_signal_connect(window->area, "drag-data-received", G_CALLBACK(on_drag_data_received), window);
}

}  // namespace yomite::platform
