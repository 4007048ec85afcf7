#include "apps/yomite-render/open_file.h"

#include "locked/locked.h"
#include "platform/files.h"
#include "platform/headless/headless_window.h"
#include "platform/output.h"
#include "settings/settings.h"
#include "viewer/open.h"
#include "viewer/startup.h"

namespace yomite::render {

namespace {

std::vector<const char*> pointers(const std::vector<std::string>& strings) {
  std::vector<const char*> out;
  for (const std::string& s : strings) out.push_back(s.c_str());
  return out;
}

// What keeps the command from going on, before anything is read; empty when
// nothing does.
std::string refusal_before_open(const RenderArgs& a, const std::string& file) {
  if (file.empty()) return "no file given";
  int problem = platform::check_regular_file(file.c_str());
  if (problem != platform::FILE_FINE)
    return "cannot read " + file + ": it " + platform::file_problem_text(problem);
  if (!a.output.empty() && platform::is_same_file(a.output.c_str(), file.c_str()))
    return "the output " + a.output + " is the input file; it is left as it is";
  // A FIFO nobody reads would block the write forever.
  problem = a.output.empty() ? platform::FILE_FINE : platform::output_problem(a.output.c_str());
  if (problem != platform::FILE_FINE)
    return "cannot write " + a.output + ": it " + platform::file_problem_text(problem);
  return "";
}

// A limit ended the load while text remained: the pages end in a column
// saying so, and so does the command.
std::string cut_warning(int cut) {
  const std::string rest = "; the rest was not loaded";
  if (cut == LOAD_CUT_CHARACTERS)
    return "the text holds more than " + std::to_string(DOCUMENT_MAX_CHARS) + " characters" + rest;
  if (cut == LOAD_CUT_BYTES)
    return "the file is larger than " + std::to_string(DOCUMENT_MAX_BYTES >> 20) + " MiB" + rest;
  return "the text makes more than " + std::to_string(DOCUMENT_MAX_LINES) + " columns" + rest;
}

// A locked text that stayed shut: the headless prompt cannot ask.
std::string refusal_after_open(const RenderArgs& a, const std::string& file) {
  if (!locked_refused()) return "";
  if (a.password.empty()) return file + " is locked with a password: give it with --password HEX";
  return "the password given does not open " + file;
}

}  // namespace

int open_for_render(const RenderArgs& a, RenderSession& s, std::string& error) {
  std::vector<const char*> argv = pointers(a.viewer);
  ViewerArgs viewer =
      parse_viewer_args(static_cast<int>(argv.size()), argv.data(), platform::is_existing_file);
  error = refusal_before_open(a, viewer.file);
  if (!error.empty()) return 0;
  platform::clear_stale_extraction_dirs();
  if (!a.password.empty()) remember_password(a.password);
  s.view = create_view_context();
  s.view->viewport.window = platform::headless_window_create(a.width, a.height);
  std::string settings_refusal;
  if (!read_settings(*s.view, &settings_refusal))  // never written back
    s.warnings.push_back(settings_refusal);
  take_file(*s.view, viewer.file, s.history, settings_path());
  open_document(*s.view, 0, viewer.x, viewer.y, &viewer.options);
  if (s.view->doc.load_cut != LOAD_WHOLE) s.warnings.push_back(cut_warning(s.view->doc.load_cut));
  error = refusal_after_open(a, viewer.file);
  return error.empty();
}

void close_render(RenderSession& s) {
  if (s.view) {
    platform::Window* window = s.view->viewport.window;
    destroy_view_context(s.view);
    platform::headless_window_destroy(window);
    s.view = nullptr;
  }
  platform::remove_extraction_dirs();  // an archive's unpacked text
}

}  // namespace yomite::render
