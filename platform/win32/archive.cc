// ZIP archives on Win32: the project's own reader over zlib, and the entry
// written into a file made here and now.
#include "platform/archive.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/shared/cp932.h"
#include "platform/win32/wide.h"
#include "platform/zip/zip_reader.h"

namespace yomite::platform {

struct Archive {
  std::FILE* file;
  std::vector<zip::Entry> entries;
};

namespace {

bool valid_utf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int extra = c < 0x80         ? 0
                      : (c >> 5) == 6  ? 1
                      : (c >> 4) == 14 ? 2
                      : (c >> 3) == 30 ? 3
                                       : -1;
    if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

// An entry name not marked as UTF-8 is, in the archives this reader meets,
// most likely Shift_JIS (what Japanese Windows archivers write).
std::string name_as_utf8(const zip::Entry& e) {
  if (e.name_is_utf8 || valid_utf8(e.name)) return e.name;
  std::u16string units(e.name.size() + 1, u'\0');
  const int n =
      convert_cp932(reinterpret_cast<const unsigned char*>(e.name.data()),
                    static_cast<int>(e.name.size()), units.data(), static_cast<int>(units.size()));
  return win32::narrow(reinterpret_cast<const wchar_t*>(units.data()), n);
}

// Names Windows would take for something else: a device (CON, NUL, COM1 ...,
// with any extension), a stream ("a:b"), a name it would change (a trailing
// dot or blank), or characters no file name may hold.
bool forbidden_file_name(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return true;
  for (unsigned char c : name)
    if (c < 0x20 || std::string("<>:\"|?*").find(static_cast<char>(c)) != std::string::npos)
      return true;
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* d : devices)
    if (stem == d) return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '0' && stem[3] <= '9';
}

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
  entry.name = name_as_utf8(e);
  entry.is_directory = !entry.name.empty() && entry.name.back() == '/';
  entry.is_link = zip::is_unix_link(e);
  entry.is_encrypted = e.encrypted;
  return 1;
}

long long archive_extract(Archive* archive, int index, const char* target, long long max_bytes) {
  if (!archive || index < 0 || static_cast<std::size_t>(index) >= archive->entries.size())
    return -1;
  if (forbidden_file_name(file_name_part(target))) return -1;
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
