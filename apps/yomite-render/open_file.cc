#include "apps/yomite-render/open_file.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/headless/headless_window.h"
#include "settings/settings.h"
#include "viewer/open.h"
#include "viewer/startup.h"

namespace yomite::render {

namespace {

int is_readable_file(const std::string& path) {
  if (!platform::is_existing_file(path.c_str())) return 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  std::fclose(f);
  return 1;
}

std::vector<const char*> pointers(const std::vector<std::string>& strings) {
  std::vector<const char*> out;
  for (const std::string& s : strings) out.push_back(s.c_str());
  return out;
}

}  // namespace

int open_for_render(const RenderArgs& a, RenderSession& s, std::string& error) {
  std::vector<const char*> argv = pointers(a.viewer);
  ViewerArgs viewer =
      parse_viewer_args(static_cast<int>(argv.size()), argv.data(), platform::is_existing_file);
  if (viewer.file.empty()) {
    error = "no file given";
    return 0;
  }
  if (!is_readable_file(viewer.file)) {
    error = "cannot read " + viewer.file;
    return 0;
  }
  s.view = create_view_context();
  s.view->hwnd = platform::headless_window_create(a.width, a.height);
  read_settings(*s.view);  // never written back
  take_file(*s.view, viewer.file, s.history, settings_path());
  open_document(*s.view, 0, viewer.x, viewer.y, &viewer.options);
  return 1;
}

void close_render(RenderSession& s) {
  if (!s.view) return;
  platform::Window* window = s.view->hwnd;
  destroy_view_context(s.view);
  platform::headless_window_destroy(window);
  s.view = nullptr;
}

}  // namespace yomite::render
