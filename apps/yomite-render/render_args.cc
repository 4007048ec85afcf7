#include "apps/yomite-render/render_args.h"

#include <cstring>

namespace yomite::render {

namespace {

constexpr int SIZE_MAX_PX = 32767;

// The decimal number at text[i..], 1..SIZE_MAX_PX; -1 for anything else.
int read_dimension(const std::string& text, std::size_t& i) {
  int value = 0;
  std::size_t start = i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > SIZE_MAX_PX) return -1;
  }
  return i == start || value == 0 ? -1 : value;
}

void take_size(RenderArgs& a, const std::string& value) {
  if (!parse_size(value, a.width, a.height))
    a.error = "--size wants WIDTHxHEIGHT in pixels, not \"" + value + "\"";
}

// The password yomiseal printed: 8 to 40 hexadecimal digits. Its digits are
// upper case in every key string, so lower case is taken as upper.
void take_password(RenderArgs& a, const std::string& value) {
  std::string upper = value;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  if (upper.size() < 8 || upper.size() > 40 ||
      upper.find_first_not_of("0123456789ABCDEF") != std::string::npos)
    a.error = "--password wants the 8 to 40 hexadecimal digits yomiseal printed";
  else
    a.password = upper;
}

}  // namespace

int output_is_pdf(const std::string& path) {
  if (path.size() < 4) return 0;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".pdf";
}

int parse_size(const std::string& text, int& width, int& height) {
  std::size_t i = 0;
  int w = read_dimension(text, i);
  if (w < 0 || i >= text.size() || (text[i] != 'x' && text[i] != 'X')) return 0;
  ++i;
  int h = read_dimension(text, i);
  if (h < 0 || i != text.size()) return 0;
  width = w;
  height = h;
  return 1;
}

RenderArgs parse_render_args(int argc, const char* const* argv) {
  RenderArgs a;
  a.viewer.push_back(argc > 0 ? argv[0] : "yomite-render");
  for (int i = 1; i < argc && a.error.empty(); ++i) {
    const std::string arg = argv[i];
    if (arg == "-o") {
      if (i + 1 < argc)
        a.output = argv[++i];
      else
        a.error = "-o wants a file name (.png or .pdf)";
    } else if (arg.compare(0, 2, "--") != 0) {
      a.viewer.push_back(arg);
    } else if (arg == "--") {
      for (; i < argc; ++i) a.viewer.push_back(argv[i]);  // the end of the options
    } else if (arg == "--help") {
      a.help = 1;
    } else if (arg == "--dump-lines") {
      a.dump_lines = 1;
    } else if (arg == "--dump-advances") {
      a.dump_advances = 1;
    } else if (arg == "--size") {
      if (i + 1 < argc)
        take_size(a, argv[++i]);
      else
        a.error = "--size wants WIDTHxHEIGHT";
    } else if (arg == "--page") {
      std::size_t at = 0;
      std::string value = i + 1 < argc ? argv[++i] : "";
      a.page = read_dimension(value, at);
      a.page_given = 1;
      if (a.page < 1 || at != value.size()) a.error = "--page wants a page number from 1";
    } else if (arg == "--find" || arg == "--at") {
      if (i + 1 >= argc || argv[i + 1][0] == 0) {
        a.error = arg + (arg == "--find" ? " wants the text to find"
                                         : " wants a place LOGICAL,OFFSET,WORDS");
        break;
      }
      (arg == "--find" ? a.find : a.at) = argv[++i];
    } else if (arg == "--password") {
      take_password(a, i + 1 < argc ? argv[++i] : "");
    } else if (arg.compare(0, 11, "--password=") == 0) {
      take_password(a, arg.substr(11));
    } else if (arg.compare(0, 7, "--size=") == 0) {
      take_size(a, arg.substr(7));
    } else {
      a.error = "unknown flag " + arg;
    }
  }
  return a;
}

void print_usage(std::FILE* out) {
  std::fputs(
      "usage: yomite-render [viewer options] [--size WxH] [--dump-lines] [--dump-advances]\n"
      "                     [--find TEXT] [-o OUT.png [--page N | --at PLACE] | -o OUT.pdf]\n"
      "                     [--password HEX] [--] FILE\n"
      "Lays out FILE as the viewer would (its settings file, options and fonts).\n"
      "  --dump-lines  print every display line as INDEX<TAB>FLAGS<TAB>TEXT (UTF-8);\n"
      "                FLAGS: P paragraph end, M mark, Q quotation, or -\n"
      "  --dump-advances  print every display line as it is set (extension):\n"
      "                INDEX<TAB>FLAGS<TAB>LENGTH<TAB>NATURAL<TAB>ADVANCES<TAB>READINGS,\n"
      "                px: the column length, the characters' own widths summed, each\n"
      "                character's advance as drawn, each reading as HEAD@OFFSET+WIDTH\n"
      "  -o OUT.png    the window the viewer would show at page N (default 1, or\n"
      "                the line of a J or R option at the top)\n"
      "  -o OUT.pdf    every page, one PDF page each\n"
      "  --page N      the page of a PNG, from 1\n"
      "  --size WxH    window client size in pixels instead of the one the viewer takes;\n"
      "                without it a page is at most 8192 px a side\n"
      "  --password HEX  the password of a locked text (extension)\n"
      "  --find TEXT   print every match of TEXT as the viewer finds it (extension):\n"
      "                LINE<TAB>PAGE<TAB>WORDS, LINE as --dump-lines numbers it\n"
      "  --at PLACE    the page holding PLACE (LOGICAL,OFFSET,WORDS, as the viewer\n"
      "                names places) instead of --page; without -o, print its\n"
      "                LINE<TAB>PAGE (extension)\n"
      "  --            the end of the options: FILE may begin with '-' (extension)\n"
      "  --help        this text\n"
      "Outputs replace an existing file only when complete; the exit status is 1\n"
      "after any failure, with a message.\n"
      "Viewer options: -B -C -L colour (RRGGBB), -E code page, -F face, -G size,\n"
      "  -H columns per page, -J line, -K encoding letter (S E J U V 8), -M markup,\n"
      "  -R logical line, -S smooth scroll, -T dialect, -W column length,\n"
      "  -X -Y window position.\n"
      "Extension: -A1 sets the bracket notation's other annotations (indents,\n"
      "  headings, page breaks, gaiji, notes) instead of showing them; -A0 (the\n"
      "  default) shows them as text.\n"
      "Extension: -N1 book composition (columns set as Japanese books set them:\n"
      "  exact length, strict kinsoku, one hanging mark, half-size ruby),\n"
      "  -N0 standard composition (the default; settings key Font/BookComposition).\n"
      "Extension: -U1 leaves ruby readings out (the layout of the text without\n"
      "  them), -U2 sets each inline in parentheses after its base (also in\n"
      "  --dump-lines), -U0 (the default) shows them beside their bases (settings\n"
      "  key Font/RubyMode).\n",
      out);
}

}  // namespace yomite::render
