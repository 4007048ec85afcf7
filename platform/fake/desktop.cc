#include <algorithm>
#include <deque>

#include "platform/choosers.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/fake/fake_desktop.h"
#include "platform/menu.h"
#include "platform/messages.h"
#include "platform/process.h"

namespace yomite {

namespace platform {
struct MessageSender {
  fake::FakeSender* fake;
};
}  // namespace platform

namespace {

struct Desktop {
  std::string editor = "gedit";
  int notices = 0;
  std::vector<fake::StartedProcess> started;
  std::deque<int> start_results;
  std::string own_path = "/usr/bin/yomite";
  int command_line_rules = platform::COMMAND_LINE_SHELL;
  std::vector<std::string> links, runnable;
  int messages_opened = 0;
  std::vector<std::string> notes, boxes;
  std::vector<fake::ShownMenu> menus;
  std::deque<int> menu_answers;
  std::vector<platform::DialogForm> dialogs;
  std::deque<fake::DialogStep> dialog_steps;
  std::deque<std::string> files;
  std::deque<long> colors;
  std::deque<platform::FontDescription> fonts;
  std::vector<platform::FontDescription> fonts_offered;
  std::vector<std::vector<platform::FileFilter>> filters_offered;
  std::vector<std::string> folders_offered;
  std::deque<platform::MessageSender> senders;
  platform::DialogForm* modeless = nullptr;
  platform::ModelessHooks modeless_hooks;
  int modeless_opened = 0;
};

Desktop& d() {
  static Desktop desktop;
  return desktop;
}

template <typename T>
T take(std::deque<T>& q, T fallback) {
  if (q.empty()) return fallback;
  T v = q.front();
  q.pop_front();
  return v;
}

int start(bool viewer, const std::vector<std::string>& args) {
  d().started.push_back({viewer, args});
  return take(d().start_results, 1);
}

}  // namespace

// --- scripts and records ---

void fake::set_default_editor(const std::string& command) {
  d().editor = command;
}
int fake::settings_notices() {
  return d().notices;
}
std::vector<fake::StartedProcess>& fake::started_processes() {
  return d().started;
}
void fake::script_start_results(std::vector<int> results) {
  d().start_results.assign(results.begin(), results.end());
}
void fake::set_own_program_path(const std::string& path) {
  d().own_path = path;
}
std::vector<std::string>& fake::opened_links() {
  return d().links;
}
std::vector<std::string>& fake::runnable_files() {
  return d().runnable;
}
platform::MessageSender* fake::sender_of(FakeSender& sender) {
  d().senders.push_back({&sender});
  return &d().senders.back();
}
int fake::messages_opened() {
  return d().messages_opened;
}
std::vector<std::string>& fake::notes_shown() {
  return d().notes;
}
std::vector<std::string>& fake::message_boxes() {
  return d().boxes;
}
std::vector<fake::ShownMenu>& fake::menus_shown() {
  return d().menus;
}
void fake::script_menu_answers(std::vector<int> ids) {
  d().menu_answers.assign(ids.begin(), ids.end());
}
std::vector<platform::DialogForm>& fake::dialogs_shown() {
  return d().dialogs;
}
void fake::script_dialog_steps(std::vector<DialogStep> steps) {
  d().dialog_steps.assign(steps.begin(), steps.end());
}
void fake::script_file_choices(std::vector<std::string> paths) {
  d().files.assign(paths.begin(), paths.end());
}
void fake::script_color_choices(std::vector<long> colors) {
  d().colors.assign(colors.begin(), colors.end());
}
void fake::script_font_choices(std::vector<platform::FontDescription> fonts) {
  d().fonts.assign(fonts.begin(), fonts.end());
}
std::vector<platform::FontDescription>& fake::fonts_offered() {
  return d().fonts_offered;
}
std::vector<std::vector<platform::FileFilter>>& fake::file_filters_offered() {
  return d().filters_offered;
}

std::vector<std::string>& fake::file_folders_offered() {
  return d().folders_offered;
}
void fake::reset_desktop() {
  const int notices = d().notices;
  d() = Desktop{};
  d().notices = notices;  // counted for the whole process
}

// --- the platform ---

std::string platform::default_text_editor() {
  return d().editor;
}

void platform::notify_settings_changed() {
  ++d().notices;
}

int platform::open_with_default_handler(const std::string& target) {
  d().links.push_back(target);
  return 1;
}

int platform::is_runnable_file(const std::string& path) {
  const auto& r = d().runnable;
  return std::find(r.begin(), r.end(), path) != r.end() ? 1 : 0;
}

std::string platform::own_program_path() {
  return d().own_path;
}

int platform::start_viewer_process(const std::vector<std::string>& args) {
  return start(true, args);
}

void fake::set_command_line_rules(int rules) {
  d().command_line_rules = rules;
}

int platform::command_line_rules() {
  return d().command_line_rules;
}

int platform::start_program(const std::vector<std::string>& args) {
  return start(false, args);
}

int platform::messages_open(ViewContext*) {
  ++d().messages_opened;
  return 1;
}

void platform::messages_close() {}

int platform::send_text_to(MessageSender* sender, const std::string& text) {
  if (!sender || !sender->fake || !sender->fake->alive) return 0;
  sender->fake->received.push_back(text);
  return 1;
}

std::string platform::sender_argument(MessageSender* sender) {
  return sender && sender->fake ? sender->fake->argument : std::string();
}

int platform::modeless_open(Window*, DialogForm& form, const ModelessHooks& hooks) {
  d().modeless = &form;
  d().modeless_hooks = hooks;
  ++d().modeless_opened;
  return 1;
}

void platform::modeless_show_values(DialogForm&) {}

void platform::modeless_close() {
  DialogForm* form = d().modeless;
  if (!form) return;
  d().modeless = nullptr;
  if (d().modeless_hooks.closed) d().modeless_hooks.closed(*form, d().modeless_hooks.context);
}

platform::DialogForm* fake::modeless_form() {
  return d().modeless;
}
const platform::ModelessHooks& fake::modeless_hooks() {
  return d().modeless_hooks;
}
int fake::modeless_opened() {
  return d().modeless_opened;
}

void platform::show_note(Window*, const std::string& text) {
  d().notes.push_back(text);
}

void platform::message_box(Window*, const std::string& text, const std::string& caption) {
  d().boxes.push_back(caption + ": " + text);
}

int platform::track_popup_menu(Window*, const std::vector<MenuItem>& items, int x, int y) {
  d().menus.push_back({items, x, y});
  return take(d().menu_answers, 0);
}

int platform::run_dialog(Window*, DialogForm& form, const DialogHooks& hooks) {
  d().dialogs.push_back(form);
  while (!d().dialog_steps.empty()) {
    fake::DialogStep step = d().dialog_steps.front();
    d().dialog_steps.pop_front();
    if (step.result == -1) return -1;
    if (step.edit) step.edit(form);
    if (step.press == 2) return 0;
    if (step.press == 1) {
      if (!hooks.accept || hooks.accept(form, hooks.context)) return 1;
      continue;  // kept open
    }
    if (hooks.button) hooks.button(form, step.press, hooks.context);
  }
  return 0;
}

int platform::choose_file(Window*, const std::string&, const std::vector<FileFilter>& filters,
                          const std::string& folder, std::string& path) {
  d().filters_offered.push_back(filters);
  d().folders_offered.push_back(folder);
  path = take(d().files, std::string());
  return path.empty() ? 0 : 1;
}

int platform::choose_program_file(Window*, const std::string&, std::string& path) {
  path = take(d().files, std::string());
  return path.empty() ? 0 : 1;
}

long platform::choose_color(Window*, std::uint32_t) {
  return take(d().colors, -1L);
}

int platform::choose_font(Window*, FontDescription& font) {
  d().fonts_offered.push_back(font);
  FontDescription chosen = take(d().fonts, FontDescription{});
  if (chosen.face.empty()) return 0;
  font = chosen;
  return 1;
}

}  // namespace yomite
