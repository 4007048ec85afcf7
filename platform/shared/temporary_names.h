// How both systems name the temporary file an output is written to, so that
// the next output beside it recognises one a killed run left behind: the
// caller's prefix (".yomiseal-"), six random letters or digits, ".tmp".
#pragma once

#include <cctype>
#include <string>

namespace yomite::platform {

constexpr int TEMP_RANDOM_CHARS = 6;
constexpr const char* TEMP_SUFFIX = ".tmp";

inline bool is_temporary_name(const std::string& name, const std::string& prefix) {
  const std::string suffix = TEMP_SUFFIX;
  if (name.size() != prefix.size() + TEMP_RANDOM_CHARS + suffix.size() ||
      name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + TEMP_RANDOM_CHARS; ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

}  // namespace yomite::platform
