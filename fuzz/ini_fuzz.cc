// The settings file reader over arbitrary bytes: parsing, every lookup the
// viewer makes, and a write must leave a file that reads back what was set.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/history.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "view/limits.h"

using yomite::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini;
  ini_parse(bytes, ini);
  History history{};
  history_from_ini(ini, history);
  for (const HistoryEntry& e : history) check(e.file_name.size() < platform::PATH_BYTES);
  parse_hex_color(ini_get(ini, "Color", "Back", "7F0000"));
  parse_decimal(ini_get(ini, "Font", "Size", "18"));
  // Whatever numbers the file holds, the sizes a view takes stay in range.
  ViewContext view;
  settings_from_ini(view, ini);
  check(std::abs(view.settings.std_font_size) <= FONT_SIZE_MAX);
  check(std::abs(view.settings.std_column_chars) <= COLUMN_CHARS_MAX);
  check(std::abs(view.settings.std_page_lines) <= PAGE_LINES_MAX);

  // A printable value set in quotes reads back exactly, whatever surrounds it.
  std::string value;
  for (std::size_t i = 0; i < size && i < 40; ++i)
    value += static_cast<char>(0x20 + data[i] % 0x5F);
  ini_set(ini, "Font", "Size", "\"" + value + "\"");
  history_to_ini(history, ini);
  IniFile again;
  ini_parse(ini_serialize(ini), again);
  check(ini_get(again, "Font", "Size", "missing") == value);
  History reread{};
  history_from_ini(again, reread);
  for (std::size_t p = 0; p < history.size(); ++p)
    check(reread[p].file_name == history[p].file_name);
  return 0;
}
