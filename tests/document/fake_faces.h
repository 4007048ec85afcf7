// The last list handed to the test-local find_installed_face.
#pragma once

#include <string>

namespace yomite {
extern std::string last_face_list;
}  // namespace yomite
