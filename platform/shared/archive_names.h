// Entry names of ZIP archives, read alike by every system's archive backend.
#pragma once

#include <string>

namespace yomite::platform {

// The stored name of an entry as UTF-8: as stored when the archive marks it
// UTF-8 or when it is valid UTF-8 anyway; otherwise code page 932, what
// Japanese archivers write (a byte that maps to nothing becomes U+30FB).
std::string archive_name_utf8(const std::string& stored, int marked_utf8);

}  // namespace yomite::platform
