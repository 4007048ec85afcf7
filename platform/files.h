// Files outside the document: where the settings file lives, replacing it
// safely while other viewers do the same, and the private directory that
// archives unpack into.
#pragma once

#include <string>

namespace yomite::platform {

// Longest path the platform accepts, in bytes with the terminating 0.
constexpr int PATH_BYTES = 4096;

// Name of the settings file, whichever directory holds it.
constexpr const char* SETTINGS_FILE_NAME = "YOMITE.INI";

// Full path of the settings file: beside the program when that directory is
// writable, else in the per-user configuration directory (created on demand).
std::string settings_file_path();

// The whole file at `path` into `out`. 1, or 0 when it cannot be read (out
// is then empty).
int read_file_bytes(const char* path, std::string& out);

// Computes a file's new contents from its current ones (empty when missing).
// Returns 1 to write them, 0 to leave the file as it is.
using FileUpdate = int (*)(const std::string& current, std::string& replacement, void* context);

// Reads, updates and replaces the file at `path` as one step other processes
// cannot interleave with: under an exclusive lock on `path` + ".lock", the
// new contents go to a temporary file in the same directory, reach the disk,
// and are renamed over `path`. Readers see the old or the new file, never a
// part. Returns 1 when the file was replaced (or `update` declined), else 0.
int update_file_atomically(const char* path, FileUpdate update, void* context);

// The per-user directory archives are unpacked into, with a trailing '/':
// created with mode 0700 under the system's temporary directory; refused
// (0) unless it is a real directory owned by this user and closed to others.
int private_temp_dir(std::string& dir);

}  // namespace yomite::platform
