// yomiseal's command line and its messages.
#pragma once

#include <cstdio>
#include <string>

namespace yomite::seal {

// Exit codes.
constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;  // a file cannot be used, or reading or writing failed
constexpr int EXIT_USAGE = 2;   // a file is missing, or the password length is refused

struct SealArgs {
  const char* source = nullptr;  // the first file argument
  const char* dest = nullptr;    // the second; later ones are ignored
  int digits = 0;                // password length: 0 (none) or 8..40
  const char* refused_option = nullptr;  // a -P whose length lies outside those
  int help = 0;                  // --help
  int version = 0;               // --version
};

// Reads the arguments in order. "-X..." is an option; "/X..." is one too,
// unless it names an existing file (`is_file`) or holds a second "/", which
// makes it an absolute path. Option letter P (either case) sets the password
// length from the decimal number after it, the last one winning: 0 or no
// digits mean no password; a length outside 8..40 is refused
// (refused_option). Other letters are ignored.
SealArgs parse_seal_args(int argc, char** argv, int (*is_file)(const char*));

// The number at the start of `s`: blanks skipped, an optional sign, digits up
// to the first other character; no digits give 0. Saturates far beyond 40.
int parse_decimal(const char* s);

// The two lines of the usage, for a run without both files.
void print_usage(std::FILE* out);
// The usage and what it leaves out, for --help.
void print_help(std::FILE* out);
// Says that `option` asks for a password length the format cannot hold.
void print_refused_digits(std::FILE* out, const char* option);

}  // namespace yomite::seal
