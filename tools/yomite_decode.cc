// yomite-decode: reads a text the way the viewer's loader does (encoding
// detection, line reader, conversion to UTF-16) and prints it as UTF-8, one
// line per line read, followed by what was read on standard error.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "trace/trace.h"

namespace {

const char* encoding_name(int mode) {
  static const char* names[] = {"Shift_JIS", "EUC-JP", "JIS",  "UTF-16LE",
                                "UTF-16BE",  "raw",    "UTF-8"};
  return mode >= 0 && mode <= 6 ? names[mode] : "?";
}

int usage(std::FILE* out, int code) {
  std::fprintf(out,
               "usage: yomite-decode [-K LETTER] [-E CODEPAGE] FILE\n"
               "  -K LETTER    force the encoding: S E J U V or 8 (UTF-8)\n"
               "  -E CODEPAGE  Windows code page of byte texts (default 932)\n");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace yomite;
  trace_init();
  int letter = 0, code_page = 1;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help")) return usage(stdout, 0);
    if (!std::strcmp(argv[i], "-K") && i + 1 < argc) {
      letter = std::toupper(static_cast<unsigned char>(argv[++i][0]));
    } else if (!std::strcmp(argv[i], "-E") && i + 1 < argc) {
      code_page = std::atoi(argv[++i]);
    } else if (argv[i][0] != '-' && !path) {
      path = argv[i];
    } else {
      std::fprintf(stderr, "yomite-decode: unexpected argument %s\n", argv[i]);
      return usage(stderr, 1);
    }
  }
  if (!path) return usage(stderr, 1);

  int mode = encoding_from_letter(letter);
  if (mode < 0) mode = detect_encoding(path);
  TextStream in;
  if (!stream_open(in, path)) {
    std::fprintf(stderr, "yomite-decode: cannot open %s: %s\n", path, std::strerror(errno));
    return 1;
  }
  skip_byte_order_mark(in, mode);
  std::vector<unsigned char> bytes(LINE_CAPACITY);
  std::vector<char16_t> units(LINE_CAPACITY);
  long lines = 0, chars = 0;
  for (;;) {
    int n;
    if (mode == ENC_UTF16LE || mode == ENC_UTF16BE) {
      if (!read_utf16_line(units.data(), LINE_CAPACITY, in, mode)) break;
      n = static_cast<int>(std::char_traits<char16_t>::length(units.data()));
    } else {
      int len = read_byte_line(bytes.data(), LINE_CAPACITY, in, mode, 0, 0, nullptr);
      if (len < 0) break;
      n = byte_line_to_utf16(mode, code_page, bytes.data(), len, units.data(), LINE_CAPACITY);
    }
    std::string line = utf16_to_utf8(units.data(), static_cast<std::size_t>(n));
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    ++lines;
    chars += n;
  }
  stream_close(in);
  std::fprintf(stderr, "yomite-decode: %s: %s, %ld lines, %ld characters\n", path,
               encoding_name(mode), lines, chars);
  return 0;
}
