// The password prompt of a locked text: a dialog with one visible field.
#include "platform/password_prompt.h"

#include "platform/dialogs.h"

namespace yomite::platform {

namespace {

constexpr int PASSWORD_FIELD = 1000;

}  // namespace

int password_prompt(Window* owner, const std::string& message, std::string& answer) {
  DialogForm form;
  form.title = PASSWORD_PROMPT_TITLE;
  form.ok_label = PASSWORD_PROMPT_OK;
  form.cancel_label = PASSWORD_PROMPT_CANCEL;
  DialogControl text;
  text.kind = CONTROL_LABEL;
  text.label = message;
  form.controls.push_back(text);
  DialogControl field;
  field.id = PASSWORD_FIELD;
  field.kind = CONTROL_EDIT;
  field.max_chars = PASSWORD_PROMPT_MAX_CHARS;
  form.controls.push_back(field);
  const int result = run_dialog(owner, form, DialogHooks{});
  if (result == 1) answer = dialog_control(form, PASSWORD_FIELD)->text;
  return result;
}

}  // namespace yomite::platform
