// What the open step does before painting, for the benchmarks: probe, the
// standard face and geometry, fonts and the full load.
#pragma once

#include <string>

#include "document/load.h"

namespace yomite::bench {

// `full_notation` 1: with the full bracket notation (an extension); `book` 1:
// in book composition (an extension) instead of standard composition.
inline void open_view(ViewContext& v, const std::string& path, int full_notation = 0,
                      int book = 0) {
  v.doc.file_name = path;
  v.settings.full_notation = full_notation;
  v.settings.book_composition = book;
  v.settings.face_name = "@ＭＳ ゴシック";
  v.settings.font_size = 18;
  v.settings.column_chars = 40;
  v.settings.page_lines = 20;
  load_document(v, nullptr);
  create_view_fonts(v);
  load_full_document(v);
}

}  // namespace yomite::bench
