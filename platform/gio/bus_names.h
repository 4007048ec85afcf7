// Where viewers meet on the session bus. Each viewer owns
// BUS_NAME_PREFIX + its process id and exports BUS_INTERFACE at
// BUS_OBJECT_PATH; every settings write sends BUS_SIGNAL_SETTINGS_CHANGED
// (no arguments) from that path to everyone.
#pragma once

namespace yomite::platform {

constexpr const char* BUS_NAME_PREFIX = "io.github.yomite.Viewer.instance";
constexpr const char* BUS_OBJECT_PATH = "/io/github/yomite/Viewer";
constexpr const char* BUS_INTERFACE = "io.github.yomite.Viewer";
constexpr const char* BUS_SIGNAL_SETTINGS_CHANGED = "SettingsChanged";
// Command(i number) -> (i result, s text): a number of 100 or more runs that
// command; below 100 it is a query (1: the shown file's name, empty when none).
constexpr const char* BUS_METHOD_COMMAND = "Command";
// Extensions, answered as the query codes of viewer/reader_queries.h with a
// text: Find(s text) -> (i matches, s "K/N LINE PAGE"), AddBookmark(s name)
// -> (i written, s).
constexpr const char* BUS_METHOD_FIND = "Find";
constexpr const char* BUS_METHOD_ADD_BOOKMARK = "AddBookmark";

}  // namespace yomite::platform
