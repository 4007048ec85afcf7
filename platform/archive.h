// Reading ZIP archives: the entries in the archive's own order, and one
// entry's bytes into a new file.
#pragma once

#include <string>

namespace yomite::platform {

struct Archive;  // an open archive, owned by the caller

// Null when the file cannot be read as a ZIP archive (or is no regular file).
Archive* archive_open(const char* path);

void archive_close(Archive* archive);

struct ArchiveEntry {
  std::string name;  // as stored: outside input, may hold "/" and ".."
  int is_directory;  // the name ends with '/'
  int is_link;       // stored as a symbolic link
  int is_encrypted;  // needs a password
};

// Describes entry `index` (0-based, archive order). 1, or 0 past the end.
int archive_entry(Archive* archive, int index, ArchiveEntry& entry);

// Writes entry `index` into a file created at `target` (mode 0600; refused
// when anything exists there already, a link included), stopping after
// `max_bytes`. Returns the bytes written, or -1 when nothing usable was
// written (a target it created is then removed).
long long archive_extract(Archive* archive, int index, const char* target, long long max_bytes);

}  // namespace yomite::platform
