// Modal dialogs owned by the main window, described as data by the core and
// run by the backend: a title, controls with ids, labels and values, OK and
// Cancel, and hooks the core answers (is OK acceptable, a button was pressed).
#pragma once

#include <string>
#include <vector>

#include "platform/window.h"

namespace yomite::platform {

constexpr const char* NOTE_WINDOW_TITLE = "Yomite 注釈";

// Shows a footnote (UTF-8) read-only and selectable, several lines, with an
// OK button; returns when it is closed.
void show_note(Window* owner, const std::string& text);

// A message box with one OK button.
void message_box(Window* owner, const std::string& text, const std::string& caption);

enum ControlKind {
  CONTROL_LABEL,   // `label` only
  CONTROL_EDIT,    // one line of `text`; `digits_only`, `max_chars` (0: no limit)
  CONTROL_SPIN,    // up and down arrows for the edit `buddy`, stepping spin_min..spin_max
  CONTROL_CHECK,   // `label` with a check box; `checked`
  CONTROL_BUTTON,  // `label`; pressing it calls DialogHooks::button
};

struct DialogControl {
  int id = 0;
  ControlKind kind = CONTROL_LABEL;
  std::string label;  // UTF-8; '&' marks the mnemonic that focuses the control (or the next one)
  std::string text;   // an edit's contents, in and out
  int checked = 0;    // a check box's state, in and out
  int digits_only = 0;
  int max_chars = 0;
  int buddy = 0;  // a spin's edit
  int spin_min = 0, spin_max = 0;
  int same_row = 0;  // 1: beside the control before it, else on a row of its own
};

struct DialogForm {
  std::string title;
  std::string ok_label = "OK";
  std::string cancel_label;  // empty: the dialog has only OK
  std::vector<DialogControl> controls;
};

// A control by id (null when there is none).
inline DialogControl* dialog_control(DialogForm& form, int id) {
  for (DialogControl& c : form.controls)
    if (c.id == id && id != 0) return &c;
  return nullptr;
}

struct DialogHooks {
  // OK was pressed: 1 closes the dialog, 0 keeps it open (nothing is said).
  int (*accept)(DialogForm& form, void* context) = nullptr;
  // A CONTROL_BUTTON was pressed; it may change the controls' values, which
  // the dialog then shows.
  void (*button)(DialogForm& form, int id, void* context) = nullptr;
  void* context = nullptr;
};

// Runs the dialog until OK is accepted (1), or Cancel, Esc or closing (0);
// -1 when it cannot be shown. Enter is OK. `form` holds the values left.
int run_dialog(Window* owner, DialogForm& form, const DialogHooks& hooks);

}  // namespace yomite::platform
