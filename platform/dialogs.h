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
  // Rows of `items` to choose one of (`selected`, -1: none), `list_rows`
  // high; a double click or Enter on a row is OK.
  CONTROL_LIST,
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
  int same_row = 0;                // 1: beside the control before it, else on a row of its own
  std::vector<std::string> items;  // a list's rows (UTF-8), in and out
  int selected = -1;               // a list's chosen row, in and out
  int list_rows = 0;               // rows a list shows at once
  int list_width = 0;              // its width in half-width characters
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
// After a button's hook, the dialog shows the form's values again: edits,
// check boxes, lists and labels.
int run_dialog(Window* owner, DialogForm& form, const DialogHooks& hooks);

// --- a window beside the main one (modeless) ----------------------------------
// At most one at a time (the find window). It takes the keyboard while it has
// the focus; the main window goes on working meanwhile.

struct ModelessHooks {
  // An edit was typed into or a check box clicked: the form holds the values.
  void (*changed)(DialogForm& form, int id, void* context) = nullptr;
  // A button was pressed; Enter presses OK (id 1).
  void (*button)(DialogForm& form, int id, void* context) = nullptr;
  // F3 was pressed in it (`shift` 1 with Shift).
  void (*again)(DialogForm& form, int shift, void* context) = nullptr;
  // It closed (Esc, Cancel, its close button, or modeless_close): the form
  // is no longer shown.
  void (*closed)(DialogForm& form, void* context) = nullptr;
  void* context = nullptr;
};

// Shows `form` beside `owner` with the focus in its first edit (its text
// selected), and returns at once; when it is already shown, it comes to the
// front instead. `form` and `hooks` must live until it closes. 1 when shown,
// -1 when it cannot be.
int modeless_open(Window* owner, DialogForm& form, const ModelessHooks& hooks);
// Shows the form's values again (labels, check boxes and edits whose text
// differs), without calling `changed`.
void modeless_show_values(DialogForm& form);
// Closes it (its `closed` hook runs); nothing when none is shown.
void modeless_close();

}  // namespace yomite::platform
