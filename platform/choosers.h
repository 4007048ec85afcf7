// The desktop's own choosers: a file to open, a program, a colour, a font.
// Each is modal over `owner` (or over the dialog that is open on it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"

namespace yomite::platform {

struct FileFilter {
  std::string name;      // "テキスト(*.txt;*.ymx)"
  std::string patterns;  // "*.txt;*.ymx"; "*.*" matches every file
};

// An existing file, chosen with the first filter selected, starting in
// `folder` (empty: where the platform starts). 1 with `path` (UTF-8, full),
// 0 when cancelled.
int choose_file(Window* owner, const std::string& title, const std::vector<FileFilter>& filters,
                const std::string& folder, std::string& path);

// A program file, with the platform's own filters for programs first. 1
// with `path` (UTF-8, full, as chosen), 0 when cancelled.
int choose_program_file(Window* owner, const std::string& title, std::string& path);

// A colour, starting from `initial` (0x00BBGGRR). The chosen colour, or -1
// when cancelled.
long choose_color(Window* owner, std::uint32_t initial);

// What a font chooser starts from and gives back. A face beginning with '@'
// is the vertical form of the family (text down the columns); a chooser
// that knows no such forms offers the writing direction beside the family.
struct FontDescription {
  int height = 0;  // px; negative: the character height, positive: the cell height
  int charset = 1;
  int quality = 2;
  int pitch_and_family = 0x30;
  std::string face;
};

// 1 when the user confirmed; `font` then holds the face and the height.
int choose_font(Window* owner, FontDescription& font);

}  // namespace yomite::platform
