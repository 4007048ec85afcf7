#include "platform/gtk/patterns.h"

namespace yomite::platform {

namespace {

std::string any_case(const std::string& pattern) {
  if (pattern == "*.*") return "*";
  std::string out;
  int in_class = 0;  // inside [...], letters stay as written
  for (char c : pattern) {
    if (c == '[') in_class = 1;
    if (c == ']') in_class = 0;
    const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
    if (in_class || (!lower && !upper)) {
      out += c;
      continue;
    }
    const char l = lower ? c : static_cast<char>(c - 'A' + 'a');
    const char u = upper ? c : static_cast<char>(c - 'a' + 'A');
    out += '[';
    out += l;
    out += u;
    out += ']';
  }
  return out;
}

}  // namespace

std::vector<std::string> gtk_globs(const std::string& patterns) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string p = patterns.substr(start, end - start);
    while (!p.empty() && p.front() == ' ') p.erase(p.begin());
    while (!p.empty() && p.back() == ' ') p.pop_back();
    if (!p.empty()) out.push_back(any_case(p));
    start = end + 1;
  }
  return out;
}

}  // namespace yomite::platform
