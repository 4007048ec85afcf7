#include "apps/yomiseal/run.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "apps/yomiseal/cli.h"
#include "apps/yomiseal/console.h"
#include "apps/yomiseal/seal_file.h"
#include "platform/random.h"

#ifndef YOMITE_VERSION
#define YOMITE_VERSION "0"
#endif

namespace yomite::seal {

namespace {

// The key string is predictable from the seed, so it comes from the system's
// random source rather than the clock.
int choose_seed(std::uint32_t& seed) {
  if (const char* fixed = std::getenv(TEST_SEED_VARIABLE); fixed && *fixed) {
    seed = static_cast<std::uint32_t>(std::strtoul(fixed, nullptr, 10));
    return 1;
  }
  return platform::random_bytes(&seed, sizeof seed);
}

}  // namespace

int run_yomiseal(int argc, char** argv, int (*is_file)(const char*)) {
  SealArgs a = parse_seal_args(argc, argv, is_file);
  if (a.help) {
    print_help(stdout);
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
  if (a.refused_option) {
    print_refused_digits(stderr, a.refused_option);
    return EXIT_USAGE;
  }
  std::uint32_t seed;
  if (!choose_seed(seed)) {
    say(stderr, "yomiseal: 乱数を得られません\n");
    return EXIT_FAILED;
  }
  return seal_file(a, seed);
}

}  // namespace yomite::seal
