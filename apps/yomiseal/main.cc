// yomiseal: turns a Shift_JIS text into a locked text, optionally bound to a
// password of 8 to 40 hex digits that it chooses and prints once.
#include <sys/random.h>
#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstdio>

#include "apps/yomiseal/cli.h"
#include "apps/yomiseal/seal_file.h"

namespace {

int names_existing_file(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

// The key string is predictable from the seed, so it comes from the system's
// random source rather than the clock.
int random_seed(std::uint32_t& seed) {
  for (;;) {
    ssize_t n = getrandom(&seed, sizeof seed, 0);
    if (n == static_cast<ssize_t>(sizeof seed)) return 1;
    if (n < 0 && errno != EINTR) return 0;
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace yomite::seal;
  std::setlocale(LC_ALL, "");
  SealArgs a = parse_seal_args(argc, argv, names_existing_file);
  if (a.help) {
    print_usage(stdout);
    return EXIT_DONE;
  }
  if (a.version) {
    std::printf("yomiseal %s\n", YOMITE_VERSION);
    return EXIT_DONE;
  }
  if (!a.source || !a.dest) {
    print_usage(stdout);
    return EXIT_USAGE;
  }
  std::uint32_t seed;
  if (!random_seed(seed)) {
    say(stderr, "yomiseal: 乱数を得られません\n");
    return EXIT_FAILED;
  }
  return seal_file(a, seed);
}
