// The full notation over arbitrary lines; see markup_fuzz.cc for the checks.
#include "fuzz/markup_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  yomite::fuzz::run_markup_case(yomite::fuzz::Dialect::full, data, size);
  return 0;
}
