// The value notations of the settings file and of colour options.
#include <cstdio>

#include "settings/settings.h"

namespace yomite {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Skips blanks and a sign; returns -1 for '-', else 1.
int skip_blanks_and_sign(const std::string& t, std::size_t& i) {
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) return t[i++] == '-' ? -1 : 1;
  return 1;
}

// Value of the hex digits of `pair` up to the first other character.
unsigned hex_pair(const std::string& pair) {
  unsigned v = 0;
  for (char c : pair) {
    int d = hex_digit(c);
    if (d < 0) break;
    v = v * 16 + static_cast<unsigned>(d);
  }
  return v;
}

}  // namespace

Color parse_hex_color(const std::string& t) {
  std::size_t i = 0;
  int sign = skip_blanks_and_sign(t, i);
  if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) i += 2;
  Color v = 0;  // wraps at 32 bits, as the stored value is 32 bits wide
  for (; i < t.size() && hex_digit(t[i]) >= 0; ++i)
    v = v * 16 + static_cast<Color>(hex_digit(t[i]));
  return sign < 0 ? 0u - v : v;
}

std::string format_hex_color(Color color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", color);
  return buf;
}

int parse_decimal(const std::string& t) {
  std::size_t i = 0;
  int sign = skip_blanks_and_sign(t, i);
  long long v = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
    if (v <= 2147483648LL) v = v * 10 + (t[i] - '0');  // saturates instead of overflowing
  v *= sign;
  if (v > 2147483647LL) return 2147483647;
  if (v < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(v);
}

Color parse_command_line_color(const std::string& text) {
  std::string t = text.substr(0, 10);
  if (!t.empty() && t[0] == '#') t.erase(0, 1);
  t.resize(6, '0');  // filled on the right, cut after six
  Color red = hex_pair(t.substr(0, 2)), green = hex_pair(t.substr(2, 2));
  Color blue = hex_pair(t.substr(4, 2));
  return red | green << 8 | blue << 16;
}

int names_windows_editor(const std::string& command) {
  std::string c = command;
  if (c.size() >= 2 && c.front() == '"' && c.back() == '"') c = c.substr(1, c.size() - 2);
  std::size_t slash = c.find_last_of("\\/");
  if (slash != std::string::npos) c.erase(0, slash + 1);
  return equal_ignoring_ascii_case(c, "notepad.exe") || equal_ignoring_ascii_case(c, "notepad");
}

int clamp_ruby_percent(int percent) {
  if (percent < RUBY_PERCENT_MIN) return RUBY_PERCENT_MIN;
  if (percent > RUBY_PERCENT_MAX) return RUBY_PERCENT_MAX;
  return percent;
}

}  // namespace yomite
