// Writing an output file the user named so that a failure never costs what
// was there: the bytes go to a temporary file beside the destination, which
// is renamed over it only after a complete, flushed and checked write. Only a
// new name or a regular file (links followed) is an output: a FIFO nobody
// reads would block forever, and a device is no file to keep.
//
// While a temporary file exists, SIGINT, SIGTERM and SIGHUP remove it before
// the process ends (a signal the program ignores stays ignored); on Windows
// Ctrl+C, Ctrl+Break and closing the console do. A run killed outright leaves
// it behind, held by nobody: the next output in that directory with the same
// prefix removes it (platform/shared/temporary_names.h).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/files.h"

namespace yomite::platform {

struct OutputFile {
  int fd = -1;        // a C runtime descriptor on Windows
  std::string temp;   // the temporary file, held by this process while it exists
  std::string final;  // what the temporary file becomes (a link's target, not the link)
  int slot = -1;      // its entry among the files a signal removes
};

// FILE_FINE when `path` may be an output: a new name or a regular file
// (links followed); else FILE_DIRECTORY or FILE_NOT_REGULAR (a FIFO, a
// device, a socket).
int output_problem(const char* path);

// Starts an output to `path`; the temporary file is named `temp_prefix`
// (e.g. ".yomiseal-"), six random characters and ".tmp", and stale ones of
// that prefix beside it (of runs that no longer exist) are removed first. An
// existing destination must be writable as it stands, and keeps its
// permission bits. 1, or 0 with errno set (EISDIR or EINVAL for a path that
// output_problem refuses).
int output_open(OutputFile& out, const char* path, const char* temp_prefix);

// 1, or 0 with errno set (a short write to a full disk is an error).
int output_write(OutputFile& out, const void* bytes, std::size_t n);

// Makes the output durable and puts it in place. 1, or 0 with errno set; the
// temporary file is then removed and the destination left as it was.
int output_commit(OutputFile& out);

// Gives up: removes the temporary file. Safe after a commit and twice.
void output_discard(OutputFile& out);

// 1 when both paths name the same existing file (links followed).
int is_same_file(const char* a, const char* b);

// 1 when `path` names the file that `open` reads (links followed): a second
// name of the same file (a hard link, another spelling) counts.
int is_same_open_file(std::FILE* open, const char* path);

}  // namespace yomite::platform
