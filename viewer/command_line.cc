// Scanning the viewer's arguments and applying its options.
#include "viewer/command_line.h"

#include <cstring>

#include "settings/settings.h"
#include "trace/trace.h"
#include "view/limits.h"

namespace yomite {

namespace {

// Any case; X and Y upper only. A, N and U are extensions (the full bracket
// notation, book composition, the ruby display mode), unused by the viewer
// before.
constexpr const char* OPTION_LETTERS = "ABCEFGHJKLMNRSTUW";

// The option's letter in upper case, or 0 when the viewer knows no such option.
char option_letter(char given) {
  if (given == 'X' || given == 'Y') return given;
  char upper = given >= 'a' && given <= 'z' ? static_cast<char>(given - 'a' + 'A') : given;
  if (upper == 0 || !std::strchr(OPTION_LETTERS, upper)) return 0;
  return upper;
}

Color option_color(const std::string& value) {
  process_settings().command_line_colors = 1;
  return parse_command_line_color(value.substr(0, OPTION_COLOR_CHARS));
}

// The forced encoding: the value's first character upper-cased, 0 for none.
int encoding_letter_of(const std::string& value) {
  if (value.empty()) return 0;
  char c = value[0];
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : static_cast<unsigned char>(c);
}

// Options that set a value the settings file keeps, and its key there.
struct OptionKey {
  char letter;
  const char* section;
  const char* key;
};
constexpr OptionKey OPTION_KEYS[] = {
    {'A', "Font", "FullNotation"}, {'B', "Color", "Back"},           {'C', "Color", "Fore"},
    {'L', "Color", "Footnote"},    {'N', "Font", "BookComposition"}, {'S', "Scroll", "Smooth"},
    {'U', "Font", "RubyMode"},
};

void set_option(ViewContext& v, const ViewerOption& o, OptionRequests& r) {
  const int n = parse_decimal(o.value);
  switch (o.letter) {
    case 'A':
      v.settings.full_notation = n;
      break;
    case 'B':
      v.settings.back_color = option_color(o.value);
      break;
    case 'C':
      v.settings.text_color = option_color(o.value);
      break;
    case 'L':
      v.settings.link_color = option_color(o.value);
      break;
    case 'E':
      v.settings.code_page = n;
      break;
    case 'F':
      v.settings.face_name = o.value;
      break;
    case 'G':
      if (n != 0) r.font_size = n;  // clamped where it is used
      break;
    case 'H':
      v.settings.page_lines = clamp_page_lines(n);
      break;
    case 'J':
      r.jump_line = n;
      break;
    case 'K':
      v.settings.encoding_letter = encoding_letter_of(o.value);
      break;
    case 'M':
      v.settings.markup_enabled = n;
      break;
    case 'N':
      v.settings.book_composition = n;
      break;
    case 'R':
      r.row = n;
      break;
    case 'S':
      v.settings.smooth_scroll = n;
      break;
    case 'T':
      v.settings.text_format = n;
      break;
    case 'U':
      v.settings.ruby_mode = n;
      break;
    case 'W':
      v.settings.column_chars = clamp_column_chars(n);
      break;
    default:
      break;  // X and Y place the window; the scan took them
  }
}

// Options apply to the run: a value the settings file keeps is noted as the
// option's, so that it is neither written nor lost when the file is read again.
void apply_option(ViewContext& v, const ViewerOption& o, OptionRequests& r) {
  set_option(v, o, r);
  for (const OptionKey& k : OPTION_KEYS)
    if (k.letter == o.letter) note_option_value(v, k.section, k.key);
}

}  // namespace

int is_option_argument(const char* arg, FileTest is_file) {
  if (arg[0] == '-') return 1;
  if (arg[0] != '/') return 0;
  // An absolute path rather than an option.
  return !(std::strchr(arg + 1, '/') || (is_file && is_file(arg)));
}

ViewerArgs parse_viewer_args(int argc, const char* const* argv, FileTest is_file) {
  ViewerArgs args;
  bool have_file = false;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    trace("arg%d %s ", i, arg);
    if (!options_ended && std::strcmp(arg, "--") == 0) {
      options_ended = true;  // an extension: a file may then begin with '-' or '/'
      continue;
    }
    if (options_ended || !is_option_argument(arg, is_file)) {
      if (!have_file) args.file = arg;
      have_file = true;
      continue;
    }
    char letter = option_letter(arg[1]);
    if (!letter) continue;
    std::string value = arg + 2;
    if (letter == 'X') args.x = parse_decimal(value);
    if (letter == 'Y') args.y = parse_decimal(value);
    args.options.push_back({letter, value});
  }
  return args;
}

void apply_viewer_options(ViewContext& view, const std::vector<ViewerOption>& options,
                          OptionRequests& requests) {
  for (const ViewerOption& o : options) apply_option(view, o, requests);
}

}  // namespace yomite
