#include "platform/gtk/uri_list.h"

namespace yomite::platform {

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%41" becomes "A"; a '%' without two hex digits after it stays as it is.
// A decoded NUL makes the whole path unusable ("").
std::string percent_decoded(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int hi = s[i] == '%' && i + 2 < s.size() ? hex_value(s[i + 1]) : -1;
    const int lo = hi >= 0 ? hex_value(s[i + 2]) : -1;
    if (lo < 0) {
      out += s[i];
      continue;
    }
    const char c = static_cast<char>(hi * 16 + lo);
    if (c == '\0') return "";
    out += c;
    i += 2;
  }
  return out;
}

bool starts_with_ignoring_case(const std::string& s, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= s.size()) return false;
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::string path_of_file_uri(const std::string& uri) {
  if (!starts_with_ignoring_case(uri, "file:")) return "";
  std::string rest = uri.substr(5);
  if (rest.compare(0, 2, "//") == 0) {
    const std::size_t slash = rest.find('/', 2);
    if (slash == std::string::npos) return "";
    const std::string host = rest.substr(2, slash - 2);
    const bool local =
        host.empty() || (host.size() == 9 && starts_with_ignoring_case(host, "localhost"));
    if (!local) return "";
    rest = rest.substr(slash);
  }
  if (rest.empty() || rest[0] != '/') return "";
  // A query or fragment is no part of a file's name.
  const std::size_t end = rest.find_first_of("?#");
  if (end != std::string::npos) rest.resize(end);
  return percent_decoded(rest);
}

std::vector<std::string> paths_of_uri_list(const std::string& list) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::string path = path_of_file_uri(line);
    if (!path.empty()) out.push_back(path);
  }
  return out;
}

}  // namespace yomite::platform
