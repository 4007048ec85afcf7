// The INI file layer under the settings and the history.
//
// Reads what the Windows profile functions write (CP932 when the bytes are
// not UTF-8, CR LF, section and key names in any letter case, blanks around
// "=", comment and blank lines) and writes what the platform writes
// (platform::settings_file_bytes: UTF-8 on Linux, code page 932 on Windows
// when it holds every character). Lines the layer does not understand are
// kept as they are when the file is written again.
#pragma once

#include <string>
#include <vector>

namespace yomite {

enum IniLineKind : int { INI_OTHER = 0, INI_SECTION = 1, INI_PAIR = 2 };

struct IniLine {
  int kind;           // IniLineKind
  std::string name;   // section name, or key name (blanks trimmed)
  std::string value;  // value as stored (blanks trimmed, quotes kept)
  std::string text;   // the line as read; empty once the pair was changed
};

struct IniFile {
  std::vector<IniLine> lines;
};

// Parses a whole file's bytes; a UTF-8 or UTF-16LE byte-order mark is dropped.
void ini_parse(const std::string& bytes, IniFile& ini);

// The value of `key` in `section` (first of each, letter case ignored) with
// one pair of enclosing double quotes removed, or `fallback` when missing.
std::string ini_get(const IniFile& ini, const std::string& section, const std::string& key,
                    const std::string& fallback);

// Replaces the value, adding the key (at the end of its section) and the
// section (at the end of the file) as needed. A value is one line: it ends
// at its first line break.
void ini_set(IniFile& ini, const std::string& section, const std::string& key,
             const std::string& value);

// The file's text: UTF-8, one LF per line.
std::string ini_serialize(const IniFile& ini);

// Parses the file at `path`, a regular file of at most
// SETTINGS_FILE_MAX_BYTES. 1 when read; 0 when it is missing or refused
// (`problem`, when given, says which: platform::FileProblem), and the file
// then counts as empty.
int ini_load(const std::string& path, IniFile& ini, int* problem = nullptr);

// Changes the file at `path` as one step that readers and other writers never
// see half done: under the file's lock it is read again, `edit` changes the
// parsed file, and the result replaces it on the disk. 1, or 0 on failure
// (a file ini_load would refuse is never replaced).
using IniEdit = void (*)(IniFile& ini, void* context);
int ini_update(const std::string& path, IniEdit edit, void* context);

// Equality of names ignoring the letter case of ASCII letters only.
int equal_ignoring_ascii_case(const std::string& a, const std::string& b);

}  // namespace yomite
