// Reading and writing the standard settings.
#include "settings/settings.h"

#include "platform/desktop.h"
#include "view/limits.h"

namespace yomite {

namespace {

constexpr const char* EDITOR_MARK = "*";  // lets a quoted command keep its quotes

// At most `max_chars` UTF-8 characters of `s`.
std::string cut_chars(const std::string& s, int max_chars) {
  int chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && chars++ == max_chars)
      return s.substr(0, i);
  return s;
}

// At most `max_bytes` bytes of `s`, never half a UTF-8 character.
std::string cut_bytes(const std::string& s, std::size_t max_bytes) {
  if (s.size() <= max_bytes) return s;
  std::size_t end = max_bytes;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return s.substr(0, end);
}

std::string read_editor(const IniFile& ini) {
  std::string command = ini_get(ini, "Tool", "Editor", "notepad.exe");
  if (!command.empty() && command[0] == '*') command.erase(0, 1);
  if (names_windows_editor(command)) command = platform::default_text_editor();
  return cut_bytes(command, EDITOR_COMMAND_MAX_BYTES);
}

int read_number(const IniFile& ini, const char* section, const char* key, const char* fallback) {
  return parse_decimal(ini_get(ini, section, key, fallback));
}

void write_number(IniFile& ini, const char* section, const char* key, int value) {
  ini_set(ini, section, key, std::to_string(value));
}

// An extension's key joins the file only once it differs from its default,
// so a file written with every extension as it comes holds exactly the
// standard keys.
void write_extension_switch(IniFile& ini, const char* section, const char* key, int value,
                            int fallback = 0) {
  const char* absent = "\x01";
  if (value == fallback && ini_get(ini, section, key, absent) == absent) return;
  write_number(ini, section, key, value);
}

void store_edit(IniFile& ini, void* view) {
  store_settings(*static_cast<const ViewContext*>(view), ini);
}

// Why a settings file was not read, as a sentence about `path`.
std::string refusal_text(const std::string& path, int problem) {
  std::string why = platform::file_problem_text(problem);
  if (problem == platform::FILE_TOO_LARGE)
    why += " (more than " + std::to_string(SETTINGS_FILE_MAX_BYTES >> 20) + " MiB)";
  return "the settings file " + path + " " + why + "; the defaults are used";
}

}  // namespace

ProcessSettings& process_settings() {
  static ProcessSettings settings;
  return settings;
}

int read_settings(ViewContext& v, const std::string& path, std::string* refusal) {
  IniFile ini;
  int problem = platform::FILE_FINE;
  // One snapshot: a writer's rename never splits the keys. A refused file
  // reads as an empty one, so every key takes its default.
  int ok = ini_load(path, ini, &problem) || problem == platform::FILE_MISSING;
  if (!ok && refusal) *refusal = refusal_text(path, problem);
  settings_from_ini(v, ini);
  return ok;
}

void settings_from_ini(ViewContext& v, const IniFile& ini) {
  v.settings.text_color = parse_hex_color(ini_get(ini, "Color", "Fore", "FFFFFF"));
  v.settings.back_color = parse_hex_color(ini_get(ini, "Color", "Back", "7F0000"));
  v.settings.link_color = parse_hex_color(ini_get(ini, "Color", "Footnote", "00FF00"));
  v.settings.std_face_name =
      cut_chars(ini_get(ini, "Font", "Font", FALLBACK_FACE_NAME), FACE_NAME_MAX_CHARS);
  // Sizes are kept where they enter, so no geometry made from them overflows.
  v.settings.std_font_size = clamp_font_size(read_number(ini, "Font", "Size", "18"));
  v.settings.std_column_chars = clamp_column_chars(read_number(ini, "Font", "Width", "40"));
  v.settings.std_page_lines = clamp_page_lines(read_number(ini, "Font", "Page", "20"));
  v.settings.font_smoothing = read_number(ini, "Font", "Smooth", "0");
  v.settings.justify = read_number(ini, "Font", "Justify", "1");
  v.settings.ruby_percent = read_number(ini, "Font", "RubyPercent", "60");
  v.settings.smooth_scroll = read_number(ini, "Scroll", "Smooth", "1");
  v.settings.smooth_dots = read_number(ini, "Scroll", "SmoothDot", "4");
  v.settings.page_mode = read_number(ini, "Scroll", "PageMode", "0");
  v.settings.full_notation = read_number(ini, "Font", "FullNotation", "0");  // extension
  v.settings.book_composition = read_number(ini, "Font", "BookComposition", "0");
  v.settings.keep_place = read_number(ini, "Place", "Resume", "1") ? 1 : 0;
  v.settings.show_status = read_number(ini, "Place", "Status", "1") ? 1 : 0;
  process_settings().editor_command = read_editor(ini);
}

const std::string& settings_path() {
  std::string& path = process_settings().file_path;
  if (path.empty()) path = platform::settings_file_path();
  return path;
}

int read_settings(ViewContext& view, std::string* refusal) {
  return read_settings(view, settings_path(), refusal);
}

void store_settings(const ViewContext& v, IniFile& ini) {
  if (!process_settings().command_line_colors) {
    ini_set(ini, "Color", "Fore", format_hex_color(v.settings.text_color));
    ini_set(ini, "Color", "Back", format_hex_color(v.settings.back_color));
    ini_set(ini, "Color", "Footnote", format_hex_color(v.settings.link_color));
  }
  ini_set(ini, "Font", "Font", v.settings.std_face_name);
  write_number(ini, "Font", "Size", v.settings.std_font_size);
  write_number(ini, "Font", "Width", v.settings.std_column_chars);
  write_number(ini, "Font", "Page", v.settings.std_page_lines);
  write_number(ini, "Font", "Smooth", v.settings.font_smoothing);
  write_number(ini, "Font", "Justify", v.settings.justify);
  write_number(ini, "Font", "RubyPercent", v.settings.ruby_percent);
  write_extension_switch(ini, "Font", "FullNotation", v.settings.full_notation);
  write_extension_switch(ini, "Font", "BookComposition", v.settings.book_composition);
  write_extension_switch(ini, "Place", "Resume", v.settings.keep_place, 1);
  write_extension_switch(ini, "Place", "Status", v.settings.show_status, 1);
  write_number(ini, "Scroll", "Smooth", v.settings.smooth_scroll);
  write_number(ini, "Scroll", "SmoothDot", v.settings.smooth_dots);
  write_number(ini, "Scroll", "PageMode", v.settings.page_mode);
  ini_set(ini, "Tool", "Editor", EDITOR_MARK + process_settings().editor_command);
}

int write_settings(const ViewContext& view, const std::string& path) {
  int ok = ini_update(path, store_edit, const_cast<ViewContext*>(&view));
  platform::notify_settings_changed();
  return ok;
}

int write_settings(const ViewContext& view) {
  return write_settings(view, settings_path());
}

StandardLayout standard_layout(const ViewContext& v) {
  return {v.settings.std_face_name.empty() ? FALLBACK_FACE_NAME : v.settings.std_face_name,
          v.settings.std_font_size ? v.settings.std_font_size : FALLBACK_FONT_SIZE,
          v.settings.std_column_chars ? v.settings.std_column_chars : FALLBACK_COLUMN_CHARS,
          v.settings.std_page_lines ? v.settings.std_page_lines : FALLBACK_PAGE_LINES};
}

}  // namespace yomite
