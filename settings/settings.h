// The settings file: standard settings, the recent-files history, and the
// notations their values are stored in.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/files.h"
#include "settings/ini.h"
#include "view/view_context.h"

namespace yomite {

// --- limits and fallbacks ----------------------------------------------------

constexpr int FACE_NAME_MAX_CHARS = 127;  // characters, not bytes
constexpr int EDITOR_COMMAND_MAX_BYTES = platform::PATH_BYTES - 1;
// What an empty or 0 standard value stands for when a window takes it.
constexpr const char* FALLBACK_FACE_NAME = "@ＭＳ ゴシック";
constexpr int FALLBACK_FONT_SIZE = 18;
constexpr int FALLBACK_COLUMN_CHARS = 40;
constexpr int FALLBACK_PAGE_LINES = 20;

// --- process-wide state ------------------------------------------------------

struct ProcessSettings {
  std::string editor_command;   // without file argument; split with shell quoting
  int command_line_colors = 0;  // /B /C or /L given: this window never writes colours
  std::string file_path;        // the settings file; empty until first asked
};

// The one record of this process.
ProcessSettings& process_settings();

// The settings file every read and write of this process names: where the
// platform keeps it, asked once.
const std::string& settings_path();

// --- notations ---------------------------------------------------------------

// Stored colours: hex text read as a number whose low byte is red, so
// "7F0000" is dark blue. Leading blanks, a sign and "0x" are allowed.
Color parse_hex_color(const std::string& text);
std::string format_hex_color(Color color);  // "%06X"

// Stored numbers: leading blanks, a sign, digits up to the first other
// character; no digits give 0.
int parse_decimal(const std::string& text);

// A colour option of the command line: "RRGGBB" (a leading '#' skipped,
// filled with '0' to six characters), so "FF" is pure red.
Color parse_command_line_color(const std::string& text);

// Whether an editor command names the Windows editor, which means nothing here.
int names_windows_editor(const std::string& command);

// --- settings ----------------------------------------------------------------

// Reads the standard settings into the view and the editor command into
// process_settings(). Never writes the file nor makes its directory
// (yomite-render uses it as is). Returns 1, or 0 when the file exists but is
// refused (no regular file, larger than SETTINGS_FILE_MAX_BYTES, unreadable):
// every key then takes its default, and `refusal` (when given) gets a
// sentence saying why, for the user.
int read_settings(ViewContext& view, const std::string& path, std::string* refusal = nullptr);
// From settings_path().
int read_settings(ViewContext& view, std::string* refusal = nullptr);

// The same keys from an already loaded file (what read_settings takes). A
// value changed here and not yet written, or given by an option, is kept.
void settings_from_ini(ViewContext& view, const IniFile& ini);

// Writes the standard settings this viewer changed since it last read or
// wrote them, and every one the file lacks (colours not when set from the
// command line, an option's value never), then tells every viewer to read
// them again. 1, or 0 when the file could not be written.
int write_settings(ViewContext& view, const std::string& path);
int write_settings(ViewContext& view);

// The same keys into an already loaded file (what write_settings commits).
void store_settings(ViewContext& view, IniFile& ini);

// An option of the command line just set the value of the settings key
// `section`/`key` in `view`: it holds for this run only.
void note_option_value(ViewContext& view, const char* section, const char* key);

// The standard font and geometry a window without command-line values takes:
// empty or 0 values replaced by the fallbacks.
struct StandardLayout {
  std::string face_name;
  int font_size, column_chars, page_lines;
};
StandardLayout standard_layout(const ViewContext& view);

// Ruby size in percent of the text, as fonts use it.
int clamp_ruby_percent(int percent);

}  // namespace yomite
