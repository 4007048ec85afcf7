// Writing a locked text from a source file, safely: the destination is
// replaced only once the whole text is on disk.
#pragma once

#include <cstdint>

#include "apps/yomiseal/cli.h"

namespace yomite::seal {

// Seals a.source into a.dest with the key string of a generator seeded with
// `seed`, printing the password line when a.digits is not 0. Returns the exit
// code; every failure is reported before it returns.
int seal_file(const SealArgs& a, std::uint32_t seed);

}  // namespace yomite::seal
