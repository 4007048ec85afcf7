// yomiseal's command line and its messages.
#pragma once

#include <cstdio>
#include <string>

namespace yomite::seal {

// Exit codes.
constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;  // a file cannot be used, or reading or writing failed
constexpr int EXIT_USAGE = 2;

struct SealArgs {
  const char* source = nullptr;  // the first file argument
  const char* dest = nullptr;    // the second; later ones are ignored
  int digits = 0;                // password length, clamped: 0 or 8..40
  int help = 0;                  // --help
  int version = 0;               // --version
};

// Reads the arguments in order. "-X..." is an option; "/X..." is one too,
// unless it names an existing file (`is_file`) or holds a second "/", which
// makes it an absolute path. Option letter P (either case) sets the password
// length from the decimal number after it; other letters are ignored.
SealArgs parse_seal_args(int argc, char** argv, int (*is_file)(const char*));

// The number at the start of `s`: blanks skipped, an optional sign, digits up
// to the first other character; no digits give 0. Saturates far beyond 40.
int parse_decimal(const char* s);

// 0 and below: no password; 1..7 become 8; above 40 becomes 40.
int clamp_password_digits(int n);

void print_usage(std::FILE* out);

}  // namespace yomite::seal
