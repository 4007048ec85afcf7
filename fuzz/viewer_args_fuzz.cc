// The viewer's command line: arguments split at NUL bytes are scanned and
// applied; the window position and the requests must come out of the
// arguments alone, and applying must never touch more than the view.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "viewer/command_line.h"

namespace {

int no_file(const char*) {
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words(1, "yomite");
  std::string word;
  for (std::size_t i = 0; i < size && words.size() < 64; ++i) {
    if (data[i] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(data[i]);
    }
  }
  words.push_back(word);
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  yomite::ViewerArgs args =
      yomite::parse_viewer_args(static_cast<int>(argv.size()), argv.data(), no_file);
  for (const yomite::ViewerOption& o : args.options)
    if (o.letter == 'x' || o.letter == 'y' || o.letter == 0) __builtin_trap();
  yomite::ViewContext view;
  yomite::OptionRequests requests;
  yomite::apply_viewer_options(view, args.options, requests);
  yomite::process_settings().command_line_colors = 0;
  return 0;
}
