// The viewer's command line: options and the file, as data, and what the
// options do to a view when a document is opened.
//
// An argument beginning with '-' is an option: its second character is the
// letter, the rest (no separator) the value. One beginning with '/' is an
// option too, unless it is a path: it names an existing file or holds a
// second '/'. The first other argument is the file; later ones are ignored.
// Extension: a lone "--" ends the options, so every later argument is a file
// even when it begins with '-' or '/'.
#pragma once

#include <string>
#include <vector>

#include "view/view_context.h"

namespace yomite {

// A font size given on the command line is kept in this range (one taken
// from the settings file is not).
constexpr int OPTION_FONT_SIZE_MIN = 10;
constexpr int OPTION_FONT_SIZE_MAX = 50;
// Colour options look at no more than this many characters of their value.
constexpr int OPTION_COLOR_CHARS = 10;

struct ViewerOption {
  char letter;        // upper case; X and Y only when given in upper case
  std::string value;  // the rest of the argument
};

struct ViewerArgs {
  std::vector<ViewerOption> options;  // recognised options in argument order
  std::string file;                   // empty: no file
  int x = -1, y = -1;                 // window position, screen px; -1 = keep
};

// Tells whether an argument beginning with '/' names an existing file.
using FileTest = int (*)(const char* path);

// 1 when `arg` is an option rather than the file.
int is_option_argument(const char* arg, FileTest is_file);

// Scans arguments 1..argc-1 (each traced as "arg%d %s "). Unrecognised
// letters are dropped, lower-case x and y among them.
ViewerArgs parse_viewer_args(int argc, const char* const* argv, FileTest is_file);

// What the options ask of the steps after layout.
struct OptionRequests {
  int font_size = 0;  // the G value as given (not clamped), 0 = none
  int jump_line = 0;  // J: 1-based display line, < 1 = none
  int row = 0;        // R: 1-based logical line, <= 1 = none
};

// Applies the options in order to the view (colour options also set the
// process's command-line-colours flag); G, J and R go into `requests`, later
// values replacing earlier ones. X and Y were taken when scanning.
void apply_viewer_options(ViewContext& view, const std::vector<ViewerOption>& options,
                          OptionRequests& requests);

}  // namespace yomite
