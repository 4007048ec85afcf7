// yomite-render's command line: its own "--" flags, and the viewer's options
// and file, which it reads by the viewer's own rules.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace yomite::render {

constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;  // a bad argument, or a file that cannot be read

struct RenderArgs {
  int help = 0;
  int dump_lines = 0;
  int dump_advances = 0;            // extension: --dump-advances
  int width = 0, height = 0;        // --size WxH: client size; 0 = what the viewer takes
  std::string output;               // -o FILE: a page as PNG, or every page as PDF (.pdf)
  int page = 1;                     // --page N: the page a PNG shows, from 1
  int page_given = 0;               // without --page a J or R option's line is at the top
  std::string password;             // --password HEX: a locked text's password, upper case
  std::string find;                 // --find TEXT: print every match's line and page
  std::string at;                   // --at PLACE: the page holding it (LOGICAL,OFFSET,WORDS)
  std::vector<std::string> viewer;  // argv[0] and every argument left for the viewer
  std::string error;                // set when the command line is refused
};

// Splits the arguments: "--help", "--dump-lines", "--dump-advances", "--size WxH" (or
// "--size=WxH"), "-o FILE", "--page N", "--password HEX" (or "--password=HEX"),
// "--find TEXT" and "--at PLACE" are ours; any other "--" argument is refused; the rest
// are the viewer's, kept in order. A lone "--" ends the options: it and
// everything after it go to the viewer, which takes what follows as files.
RenderArgs parse_render_args(int argc, const char* const* argv);

// Whether -o names a PDF (every page) rather than a PNG (one page).
int output_is_pdf(const std::string& path);

// "WxH" with both numbers from 1 to 32767. 1, or 0 for anything else.
int parse_size(const std::string& text, int& width, int& height);

void print_usage(std::FILE* out);

}  // namespace yomite::render
