// Clicks on anchors, the context menu under the pointer, the wheel; link
// targets are outside input and are checked before the desktop sees them.
#include "viewer/pointer.h"

#include <cstring>

#include "decode/decode.h"
#include "layout/paint.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/window.h"
#include "trace/trace.h"
#include "view/modal.h"
#include "viewer/commands.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

// URI schemes a link may use; anything else (javascript:, file:, a shell
// command...) is not handed to the desktop.
constexpr const char* LINK_SCHEMES[] = {"http://", "https://", "ftp://", "mailto:"};

bool starts_with_ignoring_case(const std::string& s, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  if (s.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::string to_utf8(const char16_t* s) {
  return utf16_to_utf8(s, std::char_traits<char16_t>::length(s));
}

}  // namespace

int link_target_allowed(const std::string& target) {
  if (target.empty()) return 0;
  for (const char* scheme : LINK_SCHEMES)
    if (starts_with_ignoring_case(target, scheme)) return target.size() > std::strlen(scheme);
  return platform::is_existing_file(target.c_str()) && !platform::is_runnable_file(target);
}

void open_link(const std::string& target) {
  if (!link_target_allowed(target)) {
    trace("link refused[%s] ", target.c_str());
    return;
  }
  trace("open[%s]", target.c_str());
  platform::open_with_default_handler(target);  // a failure is not reported
}

std::string resolve_link_target(const std::string& target, const std::string& shown_file) {
  if (target.empty() || platform::is_absolute_path(target) || target.find(':') != std::string::npos)
    return target;
  if (platform::is_existing_file(target.c_str())) return target;
  const std::string folder = platform::directory_part(shown_file);
  return folder.empty() ? target : folder + target;
}

void on_click(ViewContext& v, int x, int y) {
  const char16_t* text = hit_test(v, x, y, 1);
  if (!text) return;
  if (text[0] == LINK_MARKER) {
    open_link(resolve_link_target(to_utf8(text + 1), v.doc.file_name));
    return;
  }
  {
    ModalScope modal(v);
    platform::show_note(v.viewport.window, to_utf8(text));
  }
  platform::window_focus(v.viewport.window);
}

void on_mouse_down(ViewContext& v, int button, int x, int y) {
  if (auto_scroll_takes_click(v, button, x, y)) return;
  platform::window_focus(v.viewport.window);
  if (button == BUTTON_LEFT)
    on_click(v, x, y);
  else if (button == BUTTON_RIGHT)
    show_context_menu(v, x, y);
}

void on_wheel(ViewContext& v, int notches) {
  // The automatic scroll moves by itself; the wheel does not join in.
  if (!v.doc.loaded || v.viewport.auto_scroll.active) return;
  const int step = notches < 0 ? -1 : 1;
  for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
    if (!scroll_by(v, step, 1)) return;
}

}  // namespace yomite
