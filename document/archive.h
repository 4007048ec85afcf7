// Texts inside ZIP archives: the archive's first entry is unpacked into a
// fresh directory inside the user's private temporary directory and shown in
// place of the archive. The program removes the directory when it ends
// (platform::remove_extraction_dirs) and the leftovers of crashed runs when
// it starts (platform::clear_stale_extraction_dirs).
#pragma once

#include <cstddef>
#include <string>

#include "view/limits.h"
#include "view/view_context.h"

namespace yomite {

// Whether the last component of `path` has the extension ".zip" in any case.
int is_zip_name(const std::string& path);

// The longest name an unpacked entry gets, in bytes: what a Linux file name
// may hold (a Windows one holds 255 UTF-16 units, never fewer).
constexpr std::size_t ENTRY_NAME_MAX_BYTES = 255;
// The longest extension a shortened name keeps, its dot included.
constexpr std::size_t ENTRY_EXTENSION_MAX_BYTES = 16;

// The name an entry is written under, the same on every system: the last
// component of the stored name ('/' or '\' separated; UTF-8), with every
// character no Windows file name may hold made '_', cut to
// ENTRY_NAME_MAX_BYTES keeping its extension (the copy needs nothing of the
// entry's name but that), a trailing dot or blank made '_', and a device
// name (CON, NUL.txt ...) given a leading '_'. 0 for a name that is empty,
// "." or "..".
int entry_file_name(const std::string& stored, std::string& name);

// Unpacks the archive's first file entry (directories skipped) into a new
// extraction directory (platform::make_extraction_dir). 1 with `result` holding the new file's
// path; 0 for every failure (unreadable archive, no entry, an encrypted or linked entry, a refused
// name, a failed write).
int extract_first_entry(const char* archive_path, std::string& result);

// Start-up step: a ".zip" file name is replaced by its unpacked first entry;
// on failure the archive itself stays and is shown as a text. 1 when replaced.
int replace_archive_by_entry(ViewContext& view);

}  // namespace yomite
