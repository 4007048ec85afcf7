// run_command: the one door of every numbered command.
#include "viewer/commands.h"

#include <cstdlib>

#include "platform/choosers.h"
#include "platform/window.h"
#include "settings/history.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "viewer/dialogs.h"
#include "viewer/messages.h"
#include "viewer/open.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

int shift_down() {
  return (platform::modifiers_down() & platform::KEYMOD_SHIFT) ? 1 : 0;
}

int needs_document(int number) {
  switch (number) {
    case CMD_FONT:
    case CMD_MAKE_STANDARD:
    case CMD_WIDTH:
    case CMD_FONT_LARGER:
    case CMD_FONT_SMALLER:
    case CMD_MARKUP:
    case CMD_SET_MARK:
    case CMD_JUMP_MARK:
    case CMD_EDITOR:
    case CMD_PAGE_JUMP:
    case CMD_RELOAD:
      return 1;
    default:
      return 0;
  }
}

void repaint(ViewContext& v) {
  platform::window_invalidate(v.viewport.window, nullptr, 0);
}

void set_smooth_dots(ViewContext& v, int dots) {
  v.settings.smooth_dots = dots;
  write_settings(v);
}

void choose_colour(ViewContext& v, Color& field, int number) {
  const long chosen = platform::choose_color(v.viewport.window, field);
  if (number == CMD_TEXT_COLOR) trace("col=%x ", static_cast<unsigned>(chosen));
  if (chosen == -1) return;
  field = static_cast<Color>(chosen);
  repaint(v);
  write_settings(v);
}

void change_font(ViewContext& v) {
  platform::FontDescription font;
  font.height = -v.typeset.char_height;
  font.face = v.settings.face_name;
  if (!platform::choose_font(v.viewport.window, font)) return;
  v.doc.loaded = 0;
  release_document(v);
  v.settings.face_name = font.face;  // a face with '@' sets the text in columns, without in rows
  reopen_document(v, std::abs(font.height));
}

void make_standard(ViewContext& v) {
  v.settings.std_face_name = v.settings.face_name;
  v.settings.std_column_chars = v.settings.column_chars;
  v.settings.std_font_size = v.settings.font_size;
  v.settings.std_page_lines = v.settings.page_lines;
  write_settings(v);
}

void change_width(ViewContext& v) {
  if (width_dialog(v)) reopen_document(v, 0);
  platform::window_focus(v.viewport.window);
}

// Larger or smaller by one, by two with Shift, within the step limits.
void step_font(ViewContext& v, int sign) {
  const int size = v.settings.font_size;
  if (sign > 0 ? size >= FONT_SIZE_STEP_MAX : size <= FONT_SIZE_STEP_MIN) return;
  int next = size + sign;
  if (shift_down() && (sign > 0 ? next < FONT_SIZE_STEP_MAX : next > FONT_SIZE_STEP_MIN))
    next += sign;
  reopen_document(v, next);
}

void set_mark(ViewContext& v) {
  for (int i = 0; i < v.doc.line_count; ++i) v.doc.lines[i].flags &= ~DL_MARK;
  if (v.doc.line_count > 0 && v.viewport.top_line < v.doc.line_count) v.doc.lines[v.viewport.top_line].flags |= DL_MARK;
  repaint(v);
}

void jump_to_mark(ViewContext& v) {
  for (int i = 0; i < v.doc.line_count; ++i) {
    if (v.doc.lines[i].flags & DL_MARK) {
      v.viewport.top_line = i;
      break;
    }
  }
  update_scroll_bar(v);
  repaint(v);
}

void jump_to_page(ViewContext& v) {
  const int current = v.settings.page_lines > 0 ? v.viewport.top_line / v.settings.page_lines + 1 : 1;
  const int page = page_jump_dialog(v, current);
  if (page > 0) jump_to(v, page_top(v, page));
  platform::window_focus(v.viewport.window);
}

// A viewer shown in place of an empty one takes its place on the screen.
void open_history_entry(ViewContext& v, int position) {
  if (position < 0 || position >= HISTORY_ENTRIES) return;
  const std::string name = process_history()[static_cast<std::size_t>(position)].file_name;
  if (name.empty()) return;
  const int empty = v.doc.file_name.empty();
  if (launch_viewer(v, name, empty) && empty) platform::window_post_close(v.viewport.window);
}

}  // namespace

int command_enabled(const ViewContext& v, int number) {
  if (needs_document(number) && !v.doc.loaded) return 0;
  if (number == CMD_EDITOR && v.doc.locked) return 0;
  return 1;
}

void reopen_document(ViewContext& v, int font_size) {
  v.doc.loaded = 0;
  release_document(v);
  open_document(v, font_size, -1, -1, nullptr);
}

void run_command(ViewContext& v, int number) {
  if (!command_enabled(v, number)) return;
  if (number >= CMD_SMOOTH_DOTS_1 && number <= CMD_SMOOTH_DOTS_9) {
    set_smooth_dots(v, number - CMD_SMOOTH);
    return;
  }
  if (number >= CMD_HISTORY_FIRST && number <= CMD_HISTORY_LAST) {
    open_history_entry(v, number - CMD_HISTORY_FIRST);
    return;
  }
  switch (number) {
    case CMD_SMOOTH:
      v.settings.smooth_scroll = !v.settings.smooth_scroll;
      break;
    case CMD_TEXT_COLOR:
      choose_colour(v, v.settings.text_color, number);
      break;
    case CMD_BACK_COLOR:
      choose_colour(v, v.settings.back_color, number);
      break;
    case CMD_LINK_COLOR:
      choose_colour(v, v.settings.link_color, number);
      break;
    case CMD_FONT:
      change_font(v);
      break;
    case CMD_MAKE_STANDARD:
      make_standard(v);
      break;
    case CMD_WIDTH:
      change_width(v);
      break;
    case CMD_FONT_LARGER:
      step_font(v, 1);
      break;
    case CMD_FONT_SMALLER:
      step_font(v, -1);
      break;
    case CMD_OPEN:
      open_file_dialog(v);
      break;
    case CMD_MARKUP:
      v.settings.markup_enabled = !v.settings.markup_enabled;
      reopen_document(v, 0);
      break;
    case CMD_SET_MARK:
      set_mark(v);
      break;
    case CMD_JUMP_MARK:
      jump_to_mark(v);
      break;
    case CMD_EDITOR:
      launch_editor(v);
      break;
    case CMD_SETTINGS:
      settings_dialog(v);
      break;
    case CMD_PAGE_MODE:
      // The page keys follow at once, the window size at the next open. The
      // full notation's page breaks depend on the mode: it lays out again.
      v.settings.page_mode = !v.settings.page_mode;
      if (v.settings.full_notation && v.doc.loaded) reopen_document(v, 0);
      break;
    case CMD_PAGE_JUMP:
      jump_to_page(v);
      break;
    case CMD_CLOSE:
      platform::window_post_close(v.viewport.window);
      break;
    case CMD_RELOAD:
      reopen_document(v, 0);
      break;
    case CMD_ABOUT:
      about_box(v);
      break;
    default:
      break;  // numbers without a command do nothing
  }
}

}  // namespace yomite
