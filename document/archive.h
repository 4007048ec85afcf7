// Texts inside ZIP archives: the archive's first entry is unpacked into the
// user's private temporary directory and shown in place of the archive.
#pragma once

#include <string>

#include "view/view_context.h"

namespace yomite {

// Bytes of an entry written at most: far more than the 1,048,576 characters a
// document shows, and a bound on what a ZIP bomb can put on the disk.
constexpr long long ARCHIVE_ENTRY_MAX_BYTES = 64LL << 20;

// Whether the last component of `path` has the extension ".zip" in any case.
int is_zip_name(const std::string& path);

// The name an entry is written under: the last component of the stored name
// ('/' or '\' separated). 0 for a name that is empty, "." or "..".
int entry_file_name(const std::string& stored, std::string& name);

// Unpacks the archive's first file entry (directories skipped) into the
// private temporary directory. 1 with `result` holding the new file's path;
// 0 for every failure (unreadable archive, no entry, an encrypted or linked
// entry, a refused name, a failed write).
int extract_first_entry(const char* archive_path, std::string& result);

// Start-up step: a ".zip" file name is replaced by its unpacked first entry;
// on failure the archive itself stays and is shown as a text. 1 when replaced.
int replace_archive_by_entry(ViewContext& view);

}  // namespace yomite
