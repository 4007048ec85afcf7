// Requests from other programs, the settings-changed notice, dropped files,
// and new viewers.
#include "viewer/messages.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "viewer/bookmarks.h"
#include "viewer/command_line.h"
#include "viewer/command_table.h"
#include "viewer/commands.h"
#include "viewer/place.h"
#include "viewer/reader_queries.h"
#include "viewer/scrolling.h"
#include "viewer/themes.h"

namespace yomite {

namespace {

// Options a new viewer takes over from this one (J K M R S X Y stay here).
constexpr const char* PASSED_ON_LETTERS = "BCEFGHLTW";

std::vector<std::string>& kept_arguments() {
  static std::vector<std::string> args;
  return args;
}

bool passed_on(const std::string& arg) {
  if (arg.size() < 2 || !is_option_argument(arg.c_str(), platform::is_existing_file)) return false;
  char letter = arg[1];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return std::strchr(PASSED_ON_LETTERS, letter) != nullptr;
}

}  // namespace

namespace {

int opens_modal(int code) {
  const CommandRow* row = find_command(code);
  return row && (row->flags & CF_MODAL) && !(row->flags & CF_EXTENSION);
}

}  // namespace

int on_command_message(ViewContext& v, int code, platform::MessageSender* sender) {
  if (code < MESSAGE_FIRST_COMMAND) {
    // The extensions' queries have codes of their own (viewer/reader_queries.h).
    const int answered = answer_reader_query(v, code, sender);
    return answered >= 0 ? answered : answer_file_name_query(code, sender, v);
  }
  std::vector<int>& waiting = v.viewport.waiting_commands;
  // One modal window at a time.
  if (opens_modal(code) &&
      (v.viewport.modal > 0 || std::any_of(waiting.begin(), waiting.end(), opens_modal)))
    return MESSAGE_REFUSED;
  waiting.push_back(code);
  platform::window_request_tick(v.viewport.window, 0);
  return 0;
}

void run_waiting_commands(ViewContext& v) {
  std::vector<int>& waiting = v.viewport.waiting_commands;
  while (v.viewport.modal == 0 && !waiting.empty()) {
    const int code = waiting.front();
    waiting.erase(waiting.begin());
    run_command(v, code);
  }
}

int answer_file_name_query(int code, platform::MessageSender* sender, const ViewContext& v) {
  if (code != QUERY_FILE_NAME || !sender) return 0;
  // The file the user opened: an archive's, not its unpacked copy's, which
  // goes when the viewer ends.
  return platform::send_text_to(sender,
                                v.doc.archive_name.empty() ? v.doc.file_name : v.doc.archive_name);
}

void on_settings_changed(ViewContext& v) {
  settle_column(v);
  read_settings(v);
  reload_bookmarks(v);  // the notice also follows a bookmarks write
  show_progress(v);     // the strip may have been switched
  follow_desktop_colours(v);
  platform::window_invalidate(v.viewport.window, nullptr, 1);
}

namespace {

// ini_serialize of the settings file as start-up read it.
std::string& settings_as_read() {
  static std::string text;
  return text;
}

}  // namespace

void keep_settings_as_read(const IniFile& settings) {
  settings_as_read() = ini_serialize(settings);
}

void on_messages_ready(ViewContext& v) {
  IniFile now;
  ini_load(settings_path(), now);
  if (ini_serialize(now) != settings_as_read()) on_settings_changed(v);
  settings_as_read().clear();
}

void on_dropped_files(ViewContext& v, const std::vector<std::string>& paths) {
  int started = 0;
  for (std::size_t i = 0; i < paths.size() && i < DROPPED_FILES_MAX; ++i) {
    if (!launch_viewer(v, paths[i], 0)) break;
    ++started;
  }
  if (started > 0 && v.doc.file_name.empty()) platform::window_post_close(v.viewport.window);
}

void keep_viewer_arguments(int argc, const char* const* argv) {
  kept_arguments().assign(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
}

std::vector<std::string> viewer_launch_arguments(const ViewContext& v, const std::string& path,
                                                 int same_place) {
  std::vector<std::string> args = {platform::own_program_path(), path};
  int x = 0, y = 0;
  if (same_place) {
    platform::window_screen_position(v.viewport.window, &x, &y);
    args.push_back("/X" + std::to_string(x));
    args.push_back("/Y" + std::to_string(y));
  }
  for (const std::string& arg : kept_arguments())
    if (passed_on(arg)) args.push_back(arg);
  return args;
}

int launch_viewer(const ViewContext& v, const std::string& path, int same_place) {
  std::vector<std::string> args = viewer_launch_arguments(v, path, same_place);
  trace("launch[%s] ", path.c_str());
  return platform::start_viewer_process(args);
}

}  // namespace yomite
