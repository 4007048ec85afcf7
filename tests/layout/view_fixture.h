// A laid-out view built by hand for painting and hit-testing tests: fonts
// from the fake backend (cell 18, half width 9, ruby 10), display lines
// written directly.
#pragma once

#include <string>
#include <vector>

#include "layout/fonts.h"
#include "platform/fake/fake_window.h"
#include "view/view_context.h"

namespace yomite::testing {

struct TestView {
  ViewContext view;
  platform::Window window;
  int ruby_count = 0;

  // Vertical ("@" face) or horizontal, 40 half-width units per column;
  // `book` 1 in book composition.
  explicit TestView(bool vertical, int width = 600, int height = 450, int book = 0) {
    view.settings.face_name = vertical ? "@ＭＳ ゴシック" : "ＭＳ ゴシック";
    view.settings.book_composition = book;
    view.settings.font_size = 18;
    view.settings.ruby_percent = 60;
    view.settings.page_lines = 20;
    view.settings.column_chars = 40;
    window.client_width = width;
    window.client_height = height;
    view.viewport.window = &window;
    create_view_fonts(view);
    begin_display_lines(view);
  }
  ~TestView() { release_document(view); }

  // Appends a display line; codes, when given, one per character.
  int add(const std::u16string& text, std::uint16_t flags = DL_PARAGRAPH_END,
          const std::vector<std::uint16_t>& codes = {}) {
    int i = view.doc.line_count;
    DisplayLine* dl = display_line_slot(view, i);
    dl->flags = flags;
    set_line_text(view.doc.arena, *dl, text.data(), text.size(),
                  codes.empty() ? nullptr : codes.data(), codes.size());
    view.doc.line_count = i + 1;
    return i;
  }

  // A ruby reading; returns its code.
  std::uint16_t reading(const std::u16string& r) {
    view.doc.annotation_texts[static_cast<std::size_t>(ruby_count)] =
        arena_copy_text(view.doc.arena, r.data(), r.size());
    return static_cast<std::uint16_t>(65 + ruby_count++);
  }

  // A note entry; returns its code.
  std::uint16_t note(int slot, const std::u16string& entry) {
    view.doc.annotation_texts[static_cast<std::size_t>(NOTE_FIRST_ENTRY + slot)] =
        arena_copy_text(view.doc.arena, entry.data(), entry.size());
    return static_cast<std::uint16_t>(16584 + slot);
  }
};

}  // namespace yomite::testing
