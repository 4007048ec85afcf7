// The standard commands' handlers, and the doors by which numbers reach the
// command table.
#include "viewer/commands.h"

#include <cstdlib>

#include "platform/choosers.h"
#include "platform/window.h"
#include "settings/history.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "view/modal.h"
#include "viewer/command_handlers.h"
#include "viewer/command_table.h"
#include "viewer/dialogs.h"
#include "viewer/find.h"
#include "viewer/messages.h"
#include "viewer/open.h"
#include "viewer/place.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

int shift_down() {
  return (platform::modifiers_down() & platform::KEYMOD_SHIFT) ? 1 : 0;
}

void repaint(ViewContext& v) {
  platform::window_invalidate(v.viewport.window, nullptr, 0);
}

Color& colour_of(ViewContext& v, int number) {
  if (number == CMD_BACK_COLOR) return v.settings.back_color;
  if (number == CMD_LINK_COLOR) return v.settings.link_color;
  return v.settings.text_color;
}

}  // namespace

void cmd_toggle_smooth(ViewContext& v, int) {
  v.settings.smooth_scroll = !v.settings.smooth_scroll;
}

void cmd_smooth_dots(ViewContext& v, int number) {
  v.settings.smooth_dots = number - CMD_SMOOTH;
  write_settings(v);
}

void cmd_choose_colour(ViewContext& v, int number) {
  ModalScope modal(v);
  Color& field = colour_of(v, number);
  const long chosen = platform::choose_color(v.viewport.window, field);
  if (number == CMD_TEXT_COLOR) trace("col=%x ", static_cast<unsigned>(chosen));
  if (chosen == -1) return;
  field = static_cast<Color>(chosen);
  v.settings.follow_desktop = 0;  // a colour chosen by hand ends following the desktop
  repaint(v);
  write_settings(v);
}

void cmd_change_font(ViewContext& v, int) {
  ModalScope modal(v);
  platform::FontDescription font;
  font.height = -v.typeset.char_height;
  font.face = v.settings.face_name;
  if (!platform::choose_font(v.viewport.window, font)) return;
  v.doc.loaded = 0;
  release_document(v);
  v.settings.face_name = font.face;  // a face with '@' sets the text in columns, without in rows
  reopen_document(v, std::abs(font.height));
}

void cmd_make_standard(ViewContext& v, int) {
  v.settings.std_face_name = v.settings.face_name;
  v.settings.std_column_chars = v.settings.column_chars;
  v.settings.std_font_size = v.settings.font_size;
  v.settings.std_page_lines = v.settings.page_lines;
  write_settings(v);
}

void cmd_change_width(ViewContext& v, int) {
  if (width_dialog(v)) reopen_document(v, 0);
  platform::window_focus(v.viewport.window);
}

// Larger or smaller by one, by two with Shift, within the step limits.
void cmd_step_font(ViewContext& v, int number) {
  const int sign = number == CMD_FONT_LARGER ? 1 : -1;
  const int size = v.settings.font_size;
  if (sign > 0 ? size >= FONT_SIZE_STEP_MAX : size <= FONT_SIZE_STEP_MIN) return;
  int next = size + sign;
  if (shift_down() && (sign > 0 ? next < FONT_SIZE_STEP_MAX : next > FONT_SIZE_STEP_MIN))
    next += sign;
  reopen_document(v, next);
}

void cmd_open(ViewContext& v, int) {
  open_file_dialog(v);
}

void cmd_toggle_markup(ViewContext& v, int) {
  v.settings.markup_enabled = !v.settings.markup_enabled;
  reopen_document(v, 0);
}

void cmd_set_mark(ViewContext& v, int) {
  for (int i = 0; i < v.doc.line_count; ++i) v.doc.lines[i].flags &= ~DL_MARK;
  if (v.doc.line_count > 0 && v.viewport.top_line < v.doc.line_count)
    v.doc.lines[v.viewport.top_line].flags |= DL_MARK;
  repaint(v);
}

void cmd_jump_to_mark(ViewContext& v, int) {
  for (int i = 0; i < v.doc.line_count; ++i) {
    if (v.doc.lines[i].flags & DL_MARK) {
      v.viewport.top_line = i;
      break;
    }
  }
  update_scroll_bar(v);
  repaint(v);
}

void cmd_editor(ViewContext& v, int) {
  launch_editor(v);
}

void cmd_settings(ViewContext& v, int) {
  settings_dialog(v);
}

// The page keys follow at once, the window size at the next open. The full
// notation's page breaks depend on the mode: it lays out again.
void cmd_toggle_page_mode(ViewContext& v, int) {
  v.settings.page_mode = !v.settings.page_mode;
  if (v.settings.full_notation && v.doc.loaded) reopen_document(v, 0);
}

void cmd_page_jump(ViewContext& v, int) {
  const int current =
      v.settings.page_lines > 0 ? v.viewport.top_line / v.settings.page_lines + 1 : 1;
  int percent = -1;
  const int page = page_jump_dialog(v, current, &percent);
  if (page > 0) jump_to(v, page_top(v, page));
  if (percent >= 0) {
    lay_out_through(v, -1);  // a share of the whole text
    jump_to(v, line_at_percent(v, percent));
  }
  platform::window_focus(v.viewport.window);
}

void cmd_close(ViewContext& v, int) {
  platform::window_post_close(v.viewport.window);
}

void cmd_reload(ViewContext& v, int) {
  reopen_document(v, 0);
}

void cmd_about(ViewContext& v, int) {
  about_box(v);
}

// A viewer shown in place of an empty one takes its place on the screen.
void cmd_open_history_entry(ViewContext& v, int number) {
  const int position = number - CMD_HISTORY_FIRST;
  if (position < 0 || position >= HISTORY_ENTRIES) return;
  const std::string name = process_history()[static_cast<std::size_t>(position)].file_name;
  if (name.empty()) return;
  const int empty = v.doc.file_name.empty();
  if (launch_viewer(v, name, empty) && empty) platform::window_post_close(v.viewport.window);
}

int command_enabled(const ViewContext& v, int number) {
  const CommandRow* row = find_command(number);
  return row && row_enabled(*row, v);
}

void reopen_document(ViewContext& v, int font_size) {
  v.doc.loaded = 0;
  release_document(v);
  open_document(v, font_size, -1, -1, nullptr);
  refresh_matches(v);  // the search's matches in the new lines
}

void run_command(ViewContext& v, int number) {
  const CommandRow* row = find_command(number);
  // Numbers without a command, and the extensions' numbers, do nothing.
  if (!row || (row->flags & CF_EXTENSION)) return;
  run_row(v, *row, number);
}

void run_menu_command(ViewContext& v, int id) {
  if (const CommandRow* row = find_command(id)) run_row(v, *row, id);
}

}  // namespace yomite
