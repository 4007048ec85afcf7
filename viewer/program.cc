// The viewer from start to end: the steps before the event loop, the loop,
// and the steps after it, in a fixed order.
#include "viewer/program.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "settings/history.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "viewer/command_line.h"
#include "viewer/messages.h"
#include "viewer/open.h"
#include "viewer/startup.h"

namespace yomite {

void on_paint(ViewContext& view, platform::Canvas& canvas, const PaintRect& client,
              const PaintRect& update) {
  paint_view(view, canvas, client, update);
}

int run_viewer(int argc, const char* const* argv) {
  trace_init();
  platform::Window* window = platform::window_create();
  if (!window) return 1;
  ViewContext* view = create_view_context();
  view->hwnd = window;
  platform::window_attach_view(window, view);
  read_settings(*view);
  keep_viewer_arguments(argc, argv);
  ViewerArgs args = parse_viewer_args(argc, argv, platform::is_existing_file);
  const std::string& settings = settings_path();
  take_file(*view, args.file, process_history(), settings);
  platform::window_set_title(window, window_title(args.file));
  open_document(*view, 0, args.x, args.y, &args.options);
  platform::window_accept_drops(window);
  platform::window_show(window);
  // Other viewers and programs reach this one once it is ready for them.
  platform::messages_open(view);
  const int code = platform::run_event_loop();
  platform::messages_close();
  write_settings(*view);
  release_document(*view);  // the mark becomes mark_page
  write_history(process_history(), *view, settings);
  destroy_view_context(view);
  trace_shutdown();
  return code;
}

}  // namespace yomite
