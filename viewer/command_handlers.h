// The handlers the command table's rows call, by the file that defines them.
// Each takes the view and the number it was run with (a family's handler
// reads its member from it).
#pragma once

#include "view/view_context.h"

namespace yomite {

// viewer/commands.cc: the standard commands.
void cmd_toggle_smooth(ViewContext& view, int number);
void cmd_smooth_dots(ViewContext& view, int number);
void cmd_choose_colour(ViewContext& view, int number);
void cmd_change_font(ViewContext& view, int number);
void cmd_make_standard(ViewContext& view, int number);
void cmd_change_width(ViewContext& view, int number);
void cmd_step_font(ViewContext& view, int number);
void cmd_open(ViewContext& view, int number);
void cmd_toggle_markup(ViewContext& view, int number);
void cmd_set_mark(ViewContext& view, int number);
void cmd_jump_to_mark(ViewContext& view, int number);
void cmd_editor(ViewContext& view, int number);
void cmd_settings(ViewContext& view, int number);
void cmd_toggle_page_mode(ViewContext& view, int number);
void cmd_page_jump(ViewContext& view, int number);
void cmd_close(ViewContext& view, int number);
void cmd_reload(ViewContext& view, int number);
void cmd_about(ViewContext& view, int number);
void cmd_open_history_entry(ViewContext& view, int number);

// viewer/contents.cc: the full notation (an extension).
void cmd_toggle_full_notation(ViewContext& view, int number);
void cmd_jump_to_heading(ViewContext& view, int number);

// The reader's place and finding things (extensions).
// viewer/place.cc
void cmd_toggle_status_strip(ViewContext& view, int number);
// viewer/find.cc
void cmd_find(ViewContext& view, int number);
void cmd_find_again(ViewContext& view, int number);
void cmd_find_list(ViewContext& view, int number);
// viewer/bookmarks.cc
void cmd_add_bookmark(ViewContext& view, int number);
void cmd_bookmarks(ViewContext& view, int number);

// viewer/ruby_menu.cc: the ruby display modes (an extension).
void cmd_ruby_mode(ViewContext& view, int number);

// viewer/themes.cc: colour sets and following the desktop (an extension).
void cmd_colour_set(ViewContext& view, int number);
void cmd_follow_desktop(ViewContext& view, int number);

// viewer/window_fit.cc: fit to window and full screen (extensions).
void cmd_fit_window(ViewContext& view, int number);
void cmd_full_screen(ViewContext& view, int number);

}  // namespace yomite
