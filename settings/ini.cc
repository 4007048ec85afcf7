#include "settings/ini.h"

#include <cstddef>

#include "decode/decode.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "view/limits.h"

namespace yomite {

namespace {

constexpr int CP932 = 932;

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && is_blank(s[b])) ++b;
  while (e > b && is_blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool has_prefix(const std::string& s, const char* prefix, std::size_t n) {
  return s.size() >= n && s.compare(0, n, prefix, n) == 0;
}

// Strict UTF-8, pure ASCII included (the decoder's own test wants a
// multi-byte character, which a settings file may well lack).
bool is_utf8(const std::string& s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t n = s.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] < 0x80) continue;
    if (p[i] >= 0xC2 && p[i] <= 0xF4) {
      std::size_t more = p[i] >= 0xF0 ? 3 : p[i] >= 0xE0 ? 2 : 1;
      if (i + more >= n) return false;
      unsigned lo = 0x80, hi = 0xBF;  // bounds of the second byte
      if (p[i] == 0xE0) lo = 0xA0;
      if (p[i] == 0xED) hi = 0x9F;  // no surrogates
      if (p[i] == 0xF0) lo = 0x90;
      if (p[i] == 0xF4) hi = 0x8F;
      if (p[i + 1] < lo || p[i + 1] > hi) return false;
      for (std::size_t k = 2; k <= more; ++k)
        if ((p[i + k] & 0xC0) != 0x80) return false;
      i += more;
      continue;
    }
    return false;
  }
  return true;
}

std::string from_utf16le(const std::string& bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return utf16_to_utf8(units.data(), units.size());
}

std::string from_cp932(const std::string& bytes) {
  std::u16string units(bytes.size() + 1, u'\0');
  int n = platform::multibyte_to_utf16(CP932, reinterpret_cast<const unsigned char*>(bytes.data()),
                                       static_cast<int>(bytes.size()), units.data(),
                                       static_cast<int>(units.size()));
  return utf16_to_utf8(units.data(), static_cast<std::size_t>(n));
}

// The file's text as UTF-8, whatever Windows or we wrote it in.
std::string to_utf8(const std::string& bytes) {
  std::string text;
  if (has_prefix(bytes, "\xFF\xFE", 2))
    text = from_utf16le(bytes.substr(2));
  else
    text = is_utf8(bytes) ? bytes : from_cp932(bytes);
  std::size_t marks = 0;  // a mark is no part of the first line, however many there are
  while (text.compare(marks, 3, "\xEF\xBB\xBF") == 0) marks += 3;
  return text.substr(marks);
}

IniLine parse_line(const std::string& text) {
  IniLine line{INI_OTHER, "", "", text};
  std::string t = trim(text);
  if (t.empty() || t[0] == ';' || t[0] == '#') return line;
  if (t[0] == '[') {
    std::size_t close = t.find(']');
    line.kind = INI_SECTION;
    line.name = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  std::size_t eq = t.find('=');
  if (eq == std::string::npos) return line;
  line.kind = INI_PAIR;
  line.name = trim(t.substr(0, eq));
  line.value = trim(t.substr(eq + 1));
  return line;
}

// Index of the section header, or -1.
int find_section(const IniFile& ini, const std::string& section) {
  for (std::size_t i = 0; i < ini.lines.size(); ++i)
    if (ini.lines[i].kind == INI_SECTION && equal_ignoring_ascii_case(ini.lines[i].name, section))
      return static_cast<int>(i);
  return -1;
}

// Index of the key's line in the section starting at `header`, or -1; `end`
// receives the index after the section's last pair.
int find_key(const IniFile& ini, int header, const std::string& key, std::size_t& end) {
  end = static_cast<std::size_t>(header) + 1;
  for (std::size_t i = end; i < ini.lines.size() && ini.lines[i].kind != INI_SECTION; ++i) {
    if (ini.lines[i].kind != INI_PAIR) continue;
    end = i + 1;
    if (equal_ignoring_ascii_case(ini.lines[i].name, key)) return static_cast<int>(i);
  }
  return -1;
}

struct EditCall {
  IniEdit edit;
  void* context;
};

int apply_edit(const std::string& current, std::string& replacement, void* context) {
  auto* call = static_cast<EditCall*>(context);
  IniFile ini;
  ini_parse(current, ini);
  call->edit(ini, call->context);
  replacement = platform::settings_file_bytes(ini_serialize(ini));
  return 1;
}

}  // namespace

int equal_ignoring_ascii_case(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return 0;
  }
  return 1;
}

void ini_parse(const std::string& bytes, IniFile& ini) {
  ini.lines.clear();
  std::string text = to_utf8(bytes);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t lf = text.find('\n', start);
    std::size_t end = lf == std::string::npos ? text.size() : lf;
    // Every CR before the LF goes: a stray one kept in the line would be taken
    // for its end once the file is written again, and change what it says.
    std::size_t cut = end;
    while (cut > start && text[cut - 1] == '\r') --cut;
    ini.lines.push_back(parse_line(text.substr(start, cut - start)));
    start = end + 1;
  }
}

std::string ini_get(const IniFile& ini, const std::string& section, const std::string& key,
                    const std::string& fallback) {
  int header = find_section(ini, section);
  if (header < 0) return fallback;
  std::size_t end;
  int at = find_key(ini, header, key, end);
  if (at < 0) return fallback;
  const std::string& v = ini.lines[static_cast<std::size_t>(at)].value;
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
  return v;
}

void ini_set(IniFile& ini, const std::string& section, const std::string& key,
             const std::string& value) {
  std::string one_line = value.substr(0, value.find_first_of("\r\n"));
  int header = find_section(ini, section);
  if (header < 0) {
    ini.lines.push_back({INI_SECTION, section, "", "[" + section + "]"});
    header = static_cast<int>(ini.lines.size()) - 1;
  }
  std::size_t end;
  int at = find_key(ini, header, key, end);
  if (at < 0) {
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(end),
                     {INI_PAIR, key, one_line, ""});
    return;
  }
  IniLine& line = ini.lines[static_cast<std::size_t>(at)];
  line.value = one_line;
  line.text.clear();
}

std::string ini_serialize(const IniFile& ini) {
  std::string out;
  for (const IniLine& line : ini.lines) {
    if (line.kind == INI_PAIR && line.text.empty())
      out += line.name + "=" + line.value;
    else
      out += line.text;
    out += '\n';
  }
  return out;
}

int ini_load(const std::string& path, IniFile& ini, int* problem) {
  std::string bytes;
  int ok = platform::read_file_bytes(path.c_str(), bytes, SETTINGS_FILE_MAX_BYTES, problem);
  ini_parse(bytes, ini);
  return ok;
}

int ini_update(const std::string& path, IniEdit edit, void* context) {
  EditCall call{edit, context};
  return platform::update_file_atomically(path.c_str(), SETTINGS_FILE_MAX_BYTES, apply_edit, &call);
}

}  // namespace yomite
