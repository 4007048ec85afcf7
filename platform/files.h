// Files outside the document: where the settings file lives, replacing it
// safely while other viewers do the same, and the private directory that
// archives unpack into.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace yomite::platform {

// Longest path the platform accepts, in bytes with the terminating 0.
constexpr int PATH_BYTES = 4096;

// Name of the settings file, whichever directory holds it.
constexpr const char* SETTINGS_FILE_NAME = "YOMITE.INI";

// Full path of the settings file. Linux: beside the program when a
// YOMITE.INI is already there (a portable copy), else in
// $XDG_CONFIG_HOME/yomite (~/.config/yomite). Windows: beside the program when
// that folder is writable and the installer did not put the program there
// (it leaves INSTALLED_MARKER beside it), else in %APPDATA%\Yomite. Only finds
// the path: nothing is created until the file is written.
std::string settings_file_path();
// The same for a program in `program_dir` (empty: unknown).
std::string settings_file_path_for(const std::string& program_dir);
// The rule above in a sentence for the user (Japanese, then English).
const char* settings_file_rule();

// The file the Windows installer puts beside the programs it installs.
constexpr const char* INSTALLED_MARKER = "installed.txt";

// The bytes a settings file holds for `text` (UTF-8, LF ends every line):
// on Linux the text as it is; on Windows what its profile functions write,
// code page 932 with CR LF, whenever every character has a form there and
// those bytes cannot be mistaken for UTF-8 when read back; else UTF-8 with
// CR LF behind a byte-order mark, so no character is ever lost.
std::string settings_file_bytes(const std::string& text);

// --- files the user names ----------------------------------------------------

// Why a file was not opened or read.
enum FileProblem : int {
  FILE_FINE = 0,
  FILE_MISSING = 1,      // nothing of that name
  FILE_NOT_REGULAR = 2,  // a FIFO, a device or a socket: reading could block or never end
  FILE_DIRECTORY = 3,
  FILE_TOO_LARGE = 4,
  FILE_UNREADABLE = 5,  // no permission, or a read error
};

// What a problem means, as the end of a sentence ("is a directory").
const char* file_problem_text(int problem);

// Opens `path` (links followed) for binary reading when it is a regular
// file, never waiting on a FIFO; null otherwise, with `problem` saying why.
std::FILE* open_regular_file(const char* path, int* problem = nullptr);

// FILE_FINE when `path` is a regular file that can be opened for reading,
// else the problem.
int check_regular_file(const char* path);

// The whole regular file at `path`, at most `max_bytes`, into `out`. 1, or 0
// with `out` empty and `problem` (when given) saying why.
int read_file_bytes(const char* path, std::string& out, std::size_t max_bytes,
                    int* problem = nullptr);

// Computes a file's new contents from its current ones (empty when missing).
// Returns 1 to write them, 0 to leave the file as it is.
using FileUpdate = int (*)(const std::string& current, std::string& replacement, void* context);

// Reads, updates and replaces the file at `path` as one step other processes
// cannot interleave with: under an exclusive lock on `path` + ".lock", the
// new contents go to a temporary file in the same directory, reach the disk,
// and are renamed over `path`. Readers see the old or the new file, never a
// part. A missing directory is made (mode 0700). A current file that cannot
// be read as a regular file of at most `max_bytes` is left alone, so nothing
// in it is lost. Returns 1 when the file was replaced (or `update`
// declined), else 0.
int update_file_atomically(const char* path, std::size_t max_bytes, FileUpdate update,
                           void* context);

// The per-user directory archives are unpacked under, with a trailing '/':
// created with mode 0700 under the system's temporary directory; refused
// (0) unless it is a real directory owned by this user and closed to others.
int private_temp_dir(std::string& dir);

// --- extraction directories ----------------------------------------------------
// Every unpacking gets a fresh directory of its own inside private_temp_dir,
// held (locked) by this process as long as it lives, so that leftovers of a
// run that crashed can be told from the directories of running programs.

// Makes a new directory (mode 0700, trailing '/') for this process. 1 or 0.
int make_extraction_dir(std::string& dir);

// Removes every directory make_extraction_dir made in this process, with what
// is in it. Programs call it when they end.
void remove_extraction_dirs();

// Removes what earlier runs of this user left in private_temp_dir: every
// directory no running process holds, and every loose file. Programs call it
// at start-up.
void clear_stale_extraction_dirs();

// `name` made absolute against the working directory, with "." and ".."
// components and repeated '/' resolved by the text alone (links are kept).
// 1, or 0 when the working directory is unknown (`full` is then `name`).
int full_path(const std::string& name, std::string& full);

// 1 when `path` names something that exists and is not a directory.
int is_existing_file(const char* path);

}  // namespace yomite::platform
