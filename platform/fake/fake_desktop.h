// The desktop around the viewer for tests: a scripted editor, counted
// notices, recorded processes, links, notes, message boxes, menus, dialogs
// and choosers, each answering from a script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/choosers.h"
#include "platform/dialogs.h"
#include "platform/menu.h"
#include "platform/messages.h"

namespace yomite::fake {

// What default_text_editor answers (initially "gedit").
void set_default_editor(const std::string& command);

// Settings-changed notices sent since the process started.
int settings_notices();

// --- processes ---

// Every start_viewer_process and start_program call, in order.
struct StartedProcess {
  bool viewer;  // start_viewer_process rather than start_program
  std::vector<std::string> args;
};
std::vector<StartedProcess>& started_processes();
// Results the next starts give (1 when the script is used up).
void script_start_results(std::vector<int> results);
// What own_program_path answers.
void set_own_program_path(const std::string& path);
// What command_line_rules answers (initially COMMAND_LINE_SHELL).
void set_command_line_rules(int rules);

// --- links and files ---

std::vector<std::string>& opened_links();
// Paths is_runnable_file calls runnable.
std::vector<std::string>& runnable_files();

// --- messages between viewers ---

// A sender that keeps what it is sent; `alive` 0 plays a sender that is gone.
struct FakeSender {
  int alive = 1;
  std::vector<std::string> received;
  std::string argument;  // the text the request comes with
};
platform::MessageSender* sender_of(FakeSender& sender);
int messages_opened();

// --- modal UI ---

// Notes and message boxes shown, as (text) and (caption: text).
std::vector<std::string>& notes_shown();
std::vector<std::string>& message_boxes();

// Menus shown, and the answers (ids) the next ones give (0 when used up).
struct ShownMenu {
  std::vector<platform::MenuItem> items;
  int x, y;
};
std::vector<ShownMenu>& menus_shown();
void script_menu_answers(std::vector<int> ids);

// A dialog answer: changes what the user would change and presses a
// button: ID OK (1) goes through the dialog's accept hook, which may keep
// it open, then the next answer acts on the same dialog; 2 cancels; another
// id presses that button. `result` -1 plays a dialog that cannot be shown.
struct DialogStep {
  std::function<void(platform::DialogForm&)> edit;
  int press = 1;
  int result = 0;
};
// Dialogs shown (their specs as they were opened) and the steps they take
// (a dialog runs steps until one closes it; when the script is used up it
// is cancelled).
std::vector<platform::DialogForm>& dialogs_shown();
void script_dialog_steps(std::vector<DialogStep> steps);

// The modeless window shown now (null: none) and its hooks; a test plays the
// user by changing the form and calling the hooks. Times one was opened.
platform::DialogForm* modeless_form();
const platform::ModelessHooks& modeless_hooks();
int modeless_opened();

// Chooser answers: a file or program path ("" cancels), a colour (-1
// cancels), a font (face empty cancels). Each call takes the next answer.
void script_file_choices(std::vector<std::string> paths);
void script_color_choices(std::vector<long> colors);
void script_font_choices(std::vector<platform::FontDescription> fonts);
std::vector<platform::FontDescription>& fonts_offered();  // what choose_font started from
std::vector<std::vector<platform::FileFilter>>& file_filters_offered();
// The folder each file chooser started in.
std::vector<std::string>& file_folders_offered();

// Clears every script and record above.
void reset_desktop();

}  // namespace yomite::fake
