// The viewer among other viewers and programs: requests that arrive from
// outside, the settings-changed notice, dropped files, and starting a new
// viewer for another file.
#pragma once

#include <string>
#include <vector>

#include "platform/messages.h"
#include "settings/ini.h"
#include "view/view_context.h"

namespace yomite {

// Codes below this are queries; from it on they are command numbers.
constexpr int MESSAGE_FIRST_COMMAND = 100;
// The answer to a command that would open a modal window while one is open.
constexpr int MESSAGE_REFUSED = -1;
// The query for the shown file's name.
constexpr int QUERY_FILE_NAME = 1;
// Dropped files start at most this many viewers.
constexpr int DROPPED_FILES_MAX = 10;

// A request from another program: a code below 100 is a query, answered at
// once (answer_file_name_query; the extensions' queries of
// viewer/reader_queries.h). Anything else is a command number: it is
// answered 0 and runs later, once the event loop is free and no modal window
// is open (so a dialog it opens never keeps the caller waiting); one that
// would open a modal window while one is open or waiting is refused
// (MESSAGE_REFUSED).
int on_command_message(ViewContext& view, int code, platform::MessageSender* sender);

// Runs the commands other programs sent, in order, unless a modal window is
// open (its closing asks for a tick: view/modal.h).
void run_waiting_commands(ViewContext& view);

// Code 1 sends `sender` the shown file name (an archive's own for a text
// unpacked from it; empty when nothing is shown):
// 1 when it was delivered. Other codes send nothing: 0.
int answer_file_name_query(int code, platform::MessageSender* sender, const ViewContext& view);

// Some viewer wrote the settings (or the bookmarks): read them again and
// repaint everything (current face, size, width and lines per page stay).
void on_settings_changed(ViewContext& view);

// The settings file as start-up read it, kept until on_messages_ready.
void keep_settings_as_read(const IniFile& settings);
// Notices reach the view now: one sent while it started, before it could
// hear it, is made up for by reading the settings again when the file is no
// longer what start-up read.
void on_messages_ready(ViewContext& view);

// Files dropped on the window: a viewer each, at most 10, stopping at the
// first that cannot start; a window showing nothing then closes.
void on_dropped_files(ViewContext& view, const std::vector<std::string>& paths);

// Keeps this process's arguments (argv[1..]) for the viewers it starts.
void keep_viewer_arguments(int argc, const char* const* argv);

// The argument vector of a new viewer for `path`: this program, the path,
// "/X" and "/Y" of this window's place when `same_place`, then every option
// of this process with one of the letters B C E F G H L T W, as given.
std::vector<std::string> viewer_launch_arguments(const ViewContext& view, const std::string& path,
                                                 int same_place);

// Starts a viewer for `path`; 1 when it started (nothing is told the user
// when it did not).
int launch_viewer(const ViewContext& view, const std::string& path, int same_place);

}  // namespace yomite
