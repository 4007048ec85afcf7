// The mouse: clicks on footnote and link anchors, the context menu, the wheel.
#pragma once

#include <string>

#include "view/view_context.h"

namespace yomite {

constexpr int BUTTON_LEFT = 1;
constexpr int BUTTON_RIGHT = 3;

// A button went down at client point (x, y): the window takes the focus;
// left acts on what is under the point, right opens the context menu there.
void on_mouse_down(ViewContext& view, int button, int x, int y);

// Under the point: a link opens through the desktop, a footnote shows in the
// note window (the main window gets the focus back). Elsewhere nothing.
void on_click(ViewContext& view, int x, int y);

// The wheel turned by `notches` (positive: towards the user, forward): one
// display line per notch, in pixel steps when smooth scrolling is on.
void on_wheel(ViewContext& view, int notches);

// Whether a link target may be opened: an http, https, ftp or mailto URI, or
// an existing file that opening would not run.
int link_target_allowed(const std::string& target);

// Opens a link target when it is allowed; others are traced and ignored.
void open_link(const std::string& target);

// A relative path that names no file from the working folder is taken from
// the folder of the shown file, where a text's links to its neighbours point.
std::string resolve_link_target(const std::string& target, const std::string& shown_file);

}  // namespace yomite
