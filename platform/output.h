// Writing an output file the user named so that a failure never costs what
// was there: the bytes go to a temporary file beside the destination, which
// is renamed over it only after a complete, flushed and checked write. A
// destination that is a device or a pipe (/dev/stdout, a FIFO) has no place
// to rename into and is written directly, every write checked.
//
// While a temporary file exists, SIGINT, SIGTERM and SIGHUP remove it before
// the process ends (a signal the program ignores stays ignored).
#pragma once

#include <cstddef>
#include <string>

namespace yomite::platform {

struct OutputFile {
  int fd = -1;
  std::string temp;   // the temporary file; empty when writing the destination itself
  std::string final;  // what the temporary file becomes (a link's target, not the link)
  int slot = -1;      // its entry among the files a signal removes
};

// Starts an output to `path`; the temporary file is named `temp_prefix`
// (e.g. ".yomiseal-") and six random characters. An existing destination must
// be writable as it stands, and keeps its permission bits. 1, or 0 with
// errno set.
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

}  // namespace yomite::platform
