// The one way a fuzz target reports a broken invariant: abort, which
// libFuzzer records with the input that caused it.
#pragma once

#include <cstdlib>

namespace yomite::fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace yomite::fuzz
