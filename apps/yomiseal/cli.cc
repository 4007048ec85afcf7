#include <cctype>
#include <cerrno>
#include <cstring>

#include "apps/yomiseal/cli.h"
#include "apps/yomiseal/console.h"
#include "locked/locked.h"

namespace yomite::seal {

int parse_decimal(const char* s) {
  constexpr long SATURATE = 1000000;
  while (std::isspace(static_cast<unsigned char>(*s))) ++s;
  int sign = 1;
  if (*s == '+' || *s == '-') sign = *s++ == '-' ? -1 : 1;
  long v = 0;
  for (; *s >= '0' && *s <= '9'; ++s) {
    v = v * 10 + (*s - '0');
    if (v > SATURATE) v = SATURATE;
  }
  return static_cast<int>(sign * v);
}

int clamp_password_digits(int n) {
  if (n <= 0) return 0;
  if (n < PASSWORD_MIN_DIGITS) return PASSWORD_MIN_DIGITS;
  if (n > PASSWORD_MAX_DIGITS) return PASSWORD_MAX_DIGITS;
  return n;
}

namespace {

int is_option(const char* arg, int (*is_file)(const char*)) {
  if (arg[0] == '-') return 1;
  if (arg[0] != '/') return 0;
  return !is_file(arg) && std::strchr(arg + 1, '/') == nullptr;
}

}  // namespace

SealArgs parse_seal_args(int argc, char** argv, int (*is_file)(const char*)) {
  SealArgs a;
  int digits = 0;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0) {
      a.help = 1;
    } else if (std::strcmp(arg, "--version") == 0) {
      a.version = 1;
    } else if (is_option(arg, is_file)) {
      if (std::toupper(static_cast<unsigned char>(arg[1])) == 'P') digits = parse_decimal(arg + 2);
    } else if (!a.source) {
      a.source = arg;
    } else if (!a.dest) {
      a.dest = arg;
    }
  }
  a.digits = clamp_password_digits(digits);
  return a;
}

void print_usage(std::FILE* out) {
  say(out, "usage:yomiseal [option] 元テキストfilename 暗号化テキストfilename\n");
  say(out, " option: -Px   x=パスワードの桁数\n");
}

}  // namespace yomite::seal
