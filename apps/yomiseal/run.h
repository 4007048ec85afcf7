// yomiseal from its arguments to its exit code, whichever entry point the
// system calls.
#pragma once

namespace yomite::seal {

// Hidden, for tests only: a decimal seed for the key generator instead of
// the system's random source, so that two builds can be compared byte for
// byte. Never documented for users: a known seed gives a known key.
constexpr const char* TEST_SEED_VARIABLE = "YOMISEAL_TEST_SEED";

// `argv` in UTF-8 (Windows) or the locale's bytes (POSIX); `is_file` tells
// an absolute path that looks like an option from the option.
int run_yomiseal(int argc, char** argv, int (*is_file)(const char*));

}  // namespace yomite::seal
