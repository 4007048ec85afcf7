// The limits that keep hostile or unlucky input bounded in memory and time,
// in one place, each with its reason. Sizes are clamped where they enter (the
// command line, the first-line directives, the settings file), so the layout
// and painting arithmetic behind them can stay in 32 bits.
#pragma once

#include <cstddef>

namespace yomite {

// --- sizes ------------------------------------------------------------------

// Font size (a cell height in px; a negative size counts as its magnitude).
// A column of forty characters at this size is already taller than the
// largest page, and no cell, ruby or page-number size derived from it can
// overflow when multiplied by a column length.
constexpr int FONT_SIZE_MAX = 512;

// Column length in half-width units. Longer than any page can show even at
// a 5 px font; half_width x (column_chars + 8) stays far below 2^31.
constexpr int COLUMN_CHARS_MAX = 8192;

// Columns (display lines) per page. More than fit side by side on the
// largest page at the narrowest column pitch; page counts and page offsets
// stay far below 2^31.
constexpr int PAGE_LINES_MAX = 1024;

// A font size keeps its sign (a negative size is a cell height, as a
// positive one is), its magnitude kept to at most FONT_SIZE_MAX.
constexpr int clamp_font_size(int px) {
  return px > FONT_SIZE_MAX ? FONT_SIZE_MAX : px < -FONT_SIZE_MAX ? -FONT_SIZE_MAX : px;
}
// A length or a count below 0 means nothing: it becomes 0, "not set", so the
// standard value or the default takes its place and no page is made with a
// negative side.
constexpr int clamp_count(int value, int max) {
  return value < 0 ? 0 : value > max ? max : value;
}
constexpr int clamp_column_chars(int half_widths) {
  return clamp_count(half_widths, COLUMN_CHARS_MAX);
}
constexpr int clamp_page_lines(int columns) {
  return clamp_count(columns, PAGE_LINES_MAX);
}

// --- one load ----------------------------------------------------------------

// Loading stops before the next line once the lines read hold more
// characters than this (counted after normalisation, before markup).
constexpr long DOCUMENT_MAX_CHARS = 1048576;

// ... or once this many bytes of the file were read: lines of NUL bytes and
// empty lines hold no characters, so only the bytes bound them.
constexpr long long DOCUMENT_MAX_BYTES = 64LL << 20;

// ... or once this many display lines were laid out: every empty line or
// form-feed page is columns without characters. Four per character a
// document may hold is more than any text needs; at about 32 bytes each the
// lines stay near 128 MiB.
constexpr int DOCUMENT_MAX_LINES = 4 * 1048576;

// Which of these ended a load while text remained (ViewContext::load_cut).
// The document then ends in a column saying so.
enum LoadCut : int { LOAD_WHOLE = 0, LOAD_CUT_CHARACTERS, LOAD_CUT_BYTES, LOAD_CUT_LINES };

// --- files -------------------------------------------------------------------

// The settings file is a few kilobytes; a larger one is refused whole (the
// defaults are kept) rather than parsed into gigabytes of lines.
constexpr std::size_t SETTINGS_FILE_MAX_BYTES = 1 << 20;

// Bytes of an archive entry written at most: far more than the characters a
// document shows, and a bound on what a ZIP bomb can put on the disk.
constexpr long long ARCHIVE_ENTRY_MAX_BYTES = 64LL << 20;

// --- pages without a display ---------------------------------------------------

// yomite-render draws a page of at most this many px a side unless --size
// asks for another size (it says so when it cuts): 256 MiB of pixels.
constexpr int RENDER_PAGE_MAX_PX = 8192;

}  // namespace yomite
