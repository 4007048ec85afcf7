// The viewer from start to end: the steps before the event loop, the loop,
// and the steps after it, in a fixed order.
#include "viewer/program.h"

#include "document/load.h"
#include "platform/appearance.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "settings/history.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "viewer/bookmarks.h"
#include "viewer/command_line.h"
#include "viewer/messages.h"
#include "viewer/open.h"
#include "viewer/scrolling.h"
#include "viewer/startup.h"
#include "viewer/themes.h"
#include "viewer/window_fit.h"

namespace yomite {

void on_paint(ViewContext& view, platform::Canvas& canvas, const PaintRect& client,
              const PaintRect& update) {
  paint_view(view, canvas, client, update);
}

namespace {

// One idle call lays out text for about this long, checking the clock after
// this many logical lines, so that keys and paints wait at most that long.
constexpr unsigned IDLE_SLICE_MS = 8;
constexpr int IDLE_SLICE_LINES = 100;

}  // namespace

int on_idle(ViewContext& view) {
  if (!view.doc.load_job) return 0;
  const int before = view.doc.line_count;
  const unsigned start = platform::tick_ms();
  int more = 1;
  while (more && platform::tick_ms() - start < IDLE_SLICE_MS)
    more = continue_full_load(*view.doc.load_job, -1, IDLE_SLICE_LINES);
  if (!more) end_full_load(view.doc.load_job);
  update_scroll_bar(view);
  // Columns that came in where the window shows them are painted.
  if (before <= view.viewport.top_line + visible_lines(view)) {
    settle_column(view);
    platform::window_invalidate(view.viewport.window, nullptr, 0);
  }
  return more;
}

void on_tick(ViewContext& view) {
  run_waiting_commands(view);
  run_due_relayout(view);
  if (column_in_flight(view))
    advance_column(view);
  else
    auto_scroll_next(view);
}

int run_viewer(int argc, const char* const* argv) {
  trace_init();
  platform::Window* window = platform::window_create();
  if (!window) return 1;
  ViewContext* view = create_view_context();
  view->viewport.window = window;
  platform::window_attach_view(window, view);
  std::string refusal;
  IniFile settings_file;  // one reading gives the settings and the history
  const int settings_read = read_settings(*view, settings_path(), &refusal, &settings_file);
  keep_settings_as_read(settings_file);
  follow_desktop_colours(*view);
  apply_window_fit(*view);
  platform::watch_desktop_color_scheme(view);
  keep_viewer_arguments(argc, argv);
  ViewerArgs args = parse_viewer_args(argc, argv, platform::is_existing_file);
  const std::string& settings = settings_path();
  // Texts unpacked by viewers that crashed are gone before this one unpacks.
  platform::clear_stale_extraction_dirs();
  take_file(*view, args.file, process_history(), settings_file);
  // A file that cannot be shown is said; nothing is opened or remembered.
  if (const char* refusal = file_refusal(*view)) {
    const std::string& named =
        view->doc.archive_name.empty() ? view->doc.file_name : view->doc.archive_name;
    platform::message_box(window, named + "\n" + refusal, refusal);
    platform::window_destroy(window);
    platform::remove_extraction_dirs();
    destroy_view_context(view);
    trace_shutdown();
    return 1;
  }
  platform::window_set_title(window, window_title(args.file));
  open_document(*view, 0, args.x, args.y, &args.options);
  reload_bookmarks(*view);
  platform::window_accept_drops(window);
  platform::window_show(window);
  // A settings file that cannot be used is said once; the defaults serve.
  if (!settings_read) platform::message_box(window, refusal, "Yomite");
  // Other viewers and programs reach this one once it is ready for them.
  platform::messages_open(view);
  const int code = platform::run_event_loop();
  platform::messages_close();
  write_settings(*view);
  release_document(*view);  // the mark becomes mark_page
  write_history(process_history(), *view, settings);
  platform::remove_extraction_dirs();  // the unpacked copy of an archive's text
  destroy_view_context(view);
  trace_shutdown();
  return code;
}

}  // namespace yomite
