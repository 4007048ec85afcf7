// ZIP archives on Win32: the project's own reader over zlib, and the entry
// written into a file made here and now.
#include "platform/archive.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "platform/shared/archive_names.h"
#include "platform/win32/wide.h"
#include "platform/zip/zip_reader.h"

namespace yomite::platform {

struct Archive {
  std::FILE* file;
  std::vector<zip::Entry> entries;
};

namespace {

int write_to_handle(const void* bytes, std::size_t n, void* context) {
  DWORD wrote = 0;
  return WriteFile(static_cast<HANDLE>(context), bytes, static_cast<DWORD>(n), &wrote, nullptr) &&
         wrote == n;
}

}  // namespace

Archive* archive_open(const char* path) {
  // Only a regular file: the reader would wait on a pipe or read a device forever.
  std::FILE* f = open_regular_file(path);
  if (!f) return nullptr;
  auto* archive = new Archive{f, {}};
  if (!zip::read_directory(f, archive->entries)) {
    archive_close(archive);
    return nullptr;
  }
  return archive;
}

void archive_close(Archive* archive) {
  if (!archive) return;
  std::fclose(archive->file);
  delete archive;
}

int archive_entry(Archive* archive, int index, ArchiveEntry& entry) {
  if (!archive || index < 0 || static_cast<std::size_t>(index) >= archive->entries.size()) return 0;
  const zip::Entry& e = archive->entries[static_cast<std::size_t>(index)];
  entry.name = archive_name_utf8(e.name, e.name_is_utf8);
  entry.is_directory = !entry.name.empty() && entry.name.back() == '/';
  entry.is_link = zip::is_unix_link(e);
  entry.is_encrypted = e.encrypted;
  return 1;
}

long long archive_extract(Archive* archive, int index, const char* target, long long max_bytes) {
  if (!archive || index < 0 || static_cast<std::size_t>(index) >= archive->entries.size())
    return -1;
  // Only a file made here and now: CREATE_NEW never opens what exists, a
  // link included, and no other program may open it while it is written.
  const std::wstring wide = win32::file_api_path(target);
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  long long written =
      zip::copy_entry(archive->file, archive->entries[static_cast<std::size_t>(index)], max_bytes,
                      write_to_handle, h);
  if (!CloseHandle(h)) written = -1;
  if (written < 0) DeleteFileW(wide.c_str());
  return written;
}

}  // namespace yomite::platform
