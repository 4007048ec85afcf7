// The real files of ../shared/testdata beside the project (CI has them; a
// user's clone may not): a test that needs one skips, saying so, when absent.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace yomite::test {

// Path of `name` under ../shared/testdata.
inline std::string shared_testdata(const std::string& name) {
  return std::string(YOMITE_SOURCE_DIR "/../shared/testdata/") + name;
}

}  // namespace yomite::test

// Skips the running test when ../shared/testdata/NAME is not there.
#define YOMITE_NEED_SHARED_TESTDATA(name)                                      \
  do {                                                                         \
    if (!std::filesystem::exists(yomite::test::shared_testdata(name)))         \
      GTEST_SKIP() << "needs ../shared/testdata/" << (name)                    \
                   << " beside the project (not part of this clone); skipped"; \
  } while (0)
