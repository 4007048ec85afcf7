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

namespace {

int is_option(const char* arg, int (*is_file)(const char*)) {
  if (arg[0] == '-') return 1;
  if (arg[0] != '/') return 0;
  return !is_file(arg) && std::strchr(arg + 1, '/') == nullptr;
}

}  // namespace

SealArgs parse_seal_args(int argc, char** argv, int (*is_file)(const char*)) {
  SealArgs a;
  const char* password_option = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0) {
      a.help = 1;
    } else if (std::strcmp(arg, "--version") == 0) {
      a.version = 1;
    } else if (is_option(arg, is_file)) {
      if (std::toupper(static_cast<unsigned char>(arg[1])) == 'P') password_option = arg;
    } else if (!a.source) {
      a.source = arg;
    } else if (!a.dest) {
      a.dest = arg;
    }
  }
  // A length the format cannot hold is refused, never bent into another one
  // the user would only learn of from the printed password.
  const int digits = password_option ? parse_decimal(password_option + 2) : 0;
  if (digits == 0 || (digits >= PASSWORD_MIN_DIGITS && digits <= PASSWORD_MAX_DIGITS))
    a.digits = digits;
  else
    a.refused_option = password_option;
  return a;
}

void print_usage(std::FILE* out) {
  say(out, "usage:yomiseal [option] 元テキストfilename 暗号化テキストfilename\n");
  say(out, " option: -Px   x=パスワードの桁数\n");
}

void print_help(std::FILE* out) {
  print_usage(out);
  say(out, "        x は 8 から 40 まで (0 または数字なしでパスワードなし)\n");
  say(out, " 元テキストは Shift_JIS、EUC-JP、JIS、UTF-16、UTF-8 のどれでもよく、\n");
  say(out, " Shift_JIS にして書き込みます (Shift_JIS にない文字があれば書きません)\n");
  say(out, " --help     この説明\n");
  say(out, " --version  版\n");
}

void print_refused_digits(std::FILE* out, const char* option) {
  say(out, "yomiseal: ");
  say_bytes(out, option, std::strlen(option));
  say(out, ": パスワードの桁数は 8 から 40 までです (0 でパスワードなし)\n");
}

}  // namespace yomite::seal
