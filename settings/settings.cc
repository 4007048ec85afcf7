// Reading and writing the standard settings.
#include "settings/settings.h"

#include "platform/desktop.h"
#include "view/limits.h"

namespace yomite {

namespace {

constexpr const char* EDITOR_MARK = "*";  // lets a quoted command keep its quotes
constexpr const char* EDITOR_KEY_ID = "Tool/Editor";

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

void read_editor(std::string command) {
  if (!command.empty() && command[0] == '*') command.erase(0, 1);
  ProcessSettings& p = process_settings();
  p.editor_from_desktop = names_windows_editor(command);
  p.editor_command = cut_bytes(command, EDITOR_COMMAND_MAX_BYTES);
}

// One key of the settings file: where it lives, its default, and how a
// view's value is stored as text and read back (clamped where it enters).
constexpr int KEY_COLOUR = 1;     // not written while colours came from the command line
constexpr int KEY_EXTENSION = 2;  // enters the file only once off its default
struct SettingKey {
  const char* section;
  const char* key;
  const char* fallback;
  int flags;
  std::string (*get)(const ViewContext& v);
  void (*set)(ViewContext& v, const std::string& text);
};

// A value the file does not hold.
constexpr const char* ABSENT = "\x01";

#define YOMITE_NUMBER_KEY(section, key, fallback, flags, field, clamp)                           \
  {                                                                                              \
    section, key, fallback, flags,                                                               \
        [](const ViewContext& v) { return std::to_string(v.settings.field); },                   \
        [](ViewContext& v, const std::string& s) { v.settings.field = clamp(parse_decimal(s)); } \
  }
#define YOMITE_COLOUR_KEY(key, fallback, field)                                             \
  {                                                                                         \
    "Color", key, fallback, KEY_COLOUR,                                                     \
        [](const ViewContext& v) { return format_hex_color(v.settings.field); },            \
        [](ViewContext& v, const std::string& s) { v.settings.field = parse_hex_color(s); } \
  }

int as_is(int n) {
  return n;
}

int as_switch(int n) {
  return n ? 1 : 0;
}

const SettingKey SETTING_KEYS[] = {
    YOMITE_COLOUR_KEY("Fore", "FFFFFF", text_color),
    YOMITE_COLOUR_KEY("Back", "7F0000", back_color),
    YOMITE_COLOUR_KEY("Footnote", "00FF00", link_color),
    YOMITE_NUMBER_KEY("Color", "FollowDesktop", "0", KEY_EXTENSION, follow_desktop, as_is),
    {"Font", "Font", FALLBACK_FACE_NAME, 0,
     [](const ViewContext& v) { return v.settings.std_face_name; },
     [](ViewContext& v, const std::string& s) {
       v.settings.std_face_name = cut_chars(s, FACE_NAME_MAX_CHARS);
     }},
    // Sizes are kept where they enter, so no geometry made from them overflows.
    YOMITE_NUMBER_KEY("Font", "Size", "18", 0, std_font_size, clamp_font_size),
    YOMITE_NUMBER_KEY("Font", "Width", "40", 0, std_column_chars, clamp_column_chars),
    YOMITE_NUMBER_KEY("Font", "Page", "20", 0, std_page_lines, clamp_page_lines),
    YOMITE_NUMBER_KEY("Font", "Smooth", "0", 0, font_smoothing, as_is),
    YOMITE_NUMBER_KEY("Font", "Justify", "1", 0, justify, as_is),
    YOMITE_NUMBER_KEY("Font", "RubyPercent", "60", 0, ruby_percent, as_is),
    YOMITE_NUMBER_KEY("Font", "FullNotation", "0", KEY_EXTENSION, full_notation, as_is),
    YOMITE_NUMBER_KEY("Font", "BookComposition", "0", KEY_EXTENSION, book_composition, as_is),
    YOMITE_NUMBER_KEY("Font", "RubyMode", "0", KEY_EXTENSION, ruby_mode, as_is),
    YOMITE_NUMBER_KEY("Scroll", "Smooth", "1", 0, smooth_scroll, as_is),
    YOMITE_NUMBER_KEY("Scroll", "SmoothDot", "4", 0, smooth_dots, as_is),
    YOMITE_NUMBER_KEY("Scroll", "PageMode", "0", 0, page_mode, as_is),
    YOMITE_NUMBER_KEY("Place", "Resume", "1", KEY_EXTENSION, keep_place, as_switch),
    YOMITE_NUMBER_KEY("Place", "Status", "0", KEY_EXTENSION, show_status, as_switch),
    YOMITE_NUMBER_KEY("Window", "FitToWindow", "0", KEY_EXTENSION, fit_window, as_is),
    {"Tool", "Editor", "notepad.exe", 0,
     // As read until editor_command() looks the desktop's editor up.
     [](const ViewContext&) { return EDITOR_MARK + process_settings().editor_command; },
     [](ViewContext&, const std::string& s) { read_editor(s); }},
};

#undef YOMITE_NUMBER_KEY
#undef YOMITE_COLOUR_KEY

std::string key_id(const SettingKey& k) {
  return std::string(k.section) + "/" + k.key;
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

std::string& editor_command(ViewContext& v) {
  ProcessSettings& p = process_settings();
  // Only while the command still is the one read: one set since stays.
  if (p.editor_from_desktop && names_windows_editor(p.editor_command)) {
    const std::string read = EDITOR_MARK + p.editor_command;
    p.editor_command = cut_bytes(platform::default_text_editor(), EDITOR_COMMAND_MAX_BYTES);
    auto seen = v.settings.seen_values.find(EDITOR_KEY_ID);
    if (seen != v.settings.seen_values.end() && seen->second == read)
      seen->second = EDITOR_MARK + p.editor_command;
  }
  p.editor_from_desktop = 0;
  return p.editor_command;
}

int read_settings(ViewContext& v, const std::string& path, std::string* refusal, IniFile* loaded) {
  IniFile ini;
  int problem = platform::FILE_FINE;
  // One snapshot: a writer's rename never splits the keys. A refused file
  // reads as an empty one, so every key takes its default.
  int ok = ini_load(path, ini, &problem) || problem == platform::FILE_MISSING;
  if (!ok && refusal) *refusal = refusal_text(path, problem);
  settings_from_ini(v, ini);
  if (loaded) *loaded = std::move(ini);
  return ok;
}

void settings_from_ini(ViewContext& v, const IniFile& ini) {
  ViewSettings& s = v.settings;
  for (const SettingKey& k : SETTING_KEYS) {
    const std::string id = key_id(k);
    const std::string now = k.get(v);
    const std::string file = ini_get(ini, k.section, k.key, k.fallback);
    auto seen = s.seen_values.find(id);
    auto option = s.option_values.find(id);
    // A value this viewer changed and has not written, or one an option gave
    // for this run, outlives the file's.
    const bool keep = (seen != s.seen_values.end() && seen->second != now) ||
                      (option != s.option_values.end() && option->second == now);
    k.set(v, file);
    s.seen_values[id] = k.get(v);
    if (keep) k.set(v, now);
  }
}

const std::string& settings_path() {
  std::string& path = process_settings().file_path;
  if (path.empty()) path = platform::settings_file_path();
  return path;
}

int read_settings(ViewContext& view, std::string* refusal) {
  return read_settings(view, settings_path(), refusal);
}

void store_settings(ViewContext& v, IniFile& ini) {
  ViewSettings& s = v.settings;
  for (const SettingKey& k : SETTING_KEYS) {
    if ((k.flags & KEY_COLOUR) && process_settings().command_line_colors) continue;
    const std::string id = key_id(k);
    const std::string now = k.get(v);
    const bool present = ini_get(ini, k.section, k.key, ABSENT) != ABSENT;
    auto seen = s.seen_values.find(id);
    auto option = s.option_values.find(id);
    std::string value = now;
    // An option's value is for this run only: the file keeps (or gets) its own.
    if (option != s.option_values.end() && option->second == now) {
      if (present) continue;
      value = seen != s.seen_values.end() ? seen->second : k.fallback;
    } else if (present && seen != s.seen_values.end() && seen->second == now) {
      continue;  // unchanged here: another viewer may have written it since
    }
    // An extension's key joins the file only once it differs from its
    // default, so a file written with every extension as it comes holds
    // exactly the standard keys.
    if ((k.flags & KEY_EXTENSION) && !present && value == k.fallback) continue;
    ini_set(ini, k.section, k.key, value);
    s.seen_values[id] = value;
  }
}

int write_settings(ViewContext& view, const std::string& path) {
  editor_command(view);  // the file gets the desktop's editor, never the Windows one
  IniEdit store = [](IniFile& ini, void* context) {
    store_settings(*static_cast<ViewContext*>(context), ini);
  };
  int ok = ini_update(path, store, &view);
  platform::notify_settings_changed();
  return ok;
}

int write_settings(ViewContext& view) {
  return write_settings(view, settings_path());
}

void note_option_value(ViewContext& view, const char* section, const char* key) {
  for (const SettingKey& k : SETTING_KEYS)
    if (std::string(k.section) == section && std::string(k.key) == key)
      view.settings.option_values[key_id(k)] = k.get(view);
}

StandardLayout standard_layout(const ViewContext& v) {
  return {v.settings.std_face_name.empty() ? FALLBACK_FACE_NAME : v.settings.std_face_name,
          v.settings.std_font_size ? v.settings.std_font_size : FALLBACK_FONT_SIZE,
          v.settings.std_column_chars ? v.settings.std_column_chars : FALLBACK_COLUMN_CHARS,
          v.settings.std_page_lines ? v.settings.std_page_lines : FALLBACK_PAGE_LINES};
}

}  // namespace yomite
