// Dropped files arrive as a text/uri-list: one URI a line (CR LF between
// lines), '#' starting a comment line.
#pragma once

#include <string>
#include <vector>

namespace yomite::platform {

// The local paths of the list's file: URIs ("file:///p", "file://localhost/p"
// or "file:/p"), percent escapes decoded, in order. Other URIs, files on
// other hosts, and paths that would hold a NUL are left out.
std::vector<std::string> paths_of_uri_list(const std::string& list);

// One file: URI as a path, or "" when it is none of the forms above.
std::string path_of_file_uri(const std::string& uri);

}  // namespace yomite::platform
