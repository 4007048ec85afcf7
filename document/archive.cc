#include "document/archive.h"

#include <cstring>

#include "platform/archive.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "trace/trace.h"

namespace yomite {

namespace {

int lower_ascii(int c) {
  return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

// The extension from the last dot, when the dot does not begin the name and
// what follows it is short enough to be one; else empty.
std::string extension_of(const std::string& name) {
  const std::string::size_type dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0 || name.size() - dot > ENTRY_EXTENSION_MAX_BYTES)
    return "";
  return name.substr(dot);
}

// `name` cut to ENTRY_NAME_MAX_BYTES at a character's start (UTF-8),
// keeping its extension.
std::string shortened(const std::string& name) {
  if (name.size() <= ENTRY_NAME_MAX_BYTES) return name;
  const std::string extension = extension_of(name);
  std::size_t keep = ENTRY_NAME_MAX_BYTES - extension.size();
  while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  return name.substr(0, keep) + extension;
}

// A name Windows takes for a device, with any extension: CON, PRN, AUX, NUL,
// COM1..COM9, LPT1..LPT9, CONIN$, CONOUT$.
bool names_a_device(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(lower_ascii(static_cast<unsigned char>(c)));
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
    if (stem == device) return true;
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

// Index of the first entry that is not a directory, or -1.
int first_file_entry(platform::Archive* archive, platform::ArchiveEntry& entry) {
  for (int i = 0; platform::archive_entry(archive, i, entry); ++i)
    if (!entry.is_directory) return i;
  return -1;
}

int extract_from(platform::Archive* archive, const std::string& dir, std::string& result) {
  platform::ArchiveEntry entry;
  int index = first_file_entry(archive, entry);
  std::string name;
  if (index < 0 || entry.is_link || entry.is_encrypted || !entry_file_name(entry.name, name))
    return 0;
  std::string target = dir + name;
  if (target.size() >= static_cast<std::size_t>(platform::PATH_BYTES)) return 0;
  long long written =
      platform::archive_extract(archive, index, target.c_str(), ARCHIVE_ENTRY_MAX_BYTES);
  if (written < 0) return 0;
  if (written >= ARCHIVE_ENTRY_MAX_BYTES)
    trace("archive entry cut at %d bytes ", static_cast<int>(written));
  result = target;
  return 1;
}

}  // namespace

int is_zip_name(const std::string& path) {
  const std::string base = platform::file_name_part(path);
  std::string::size_type dot = base.rfind('.');
  if (dot == std::string::npos || base.size() - dot != 4) return 0;
  const char* zip = ".zip";
  for (int i = 0; i < 4; ++i)
    if (lower_ascii(static_cast<unsigned char>(base[dot + static_cast<std::size_t>(i)])) != zip[i])
      return 0;
  return 1;
}

int entry_file_name(const std::string& stored, std::string& name) {
  // Entry names are outside input: only the last component is trusted, so
  // "../../x" and "/etc/x" land inside our directory as "x".
  name = platform::file_name_part(stored);
  if (name.empty() || name == "." || name == "..") return 0;
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*", c)) c = '_';
  name = shortened(name);
  if (name.back() == '.' || name.back() == ' ') name.back() = '_';
  if (names_a_device(name)) name = "_" + name;
  return 1;
}

int extract_first_entry(const char* archive_path, std::string& result) {
  platform::Archive* archive = platform::archive_open(archive_path);
  if (!archive) return 0;
  std::string dir;  // fresh for every unpacking: nothing planted can be in it
  int ok = platform::make_extraction_dir(dir) && extract_from(archive, dir, result);
  platform::archive_close(archive);
  return ok;
}

int replace_archive_by_entry(ViewContext& view) {
  std::string path;
  if (!is_zip_name(view.doc.file_name) || !extract_first_entry(view.doc.file_name.c_str(), path)) return 0;
  view.doc.archive_name = view.doc.file_name;
  view.doc.file_name = path;
  return 1;
}

}  // namespace yomite
