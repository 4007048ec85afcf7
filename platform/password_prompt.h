// The password prompt of a locked text: a modal dialog owned by the main
// window with a line that says what is asked, one single-line field and the
// buttons OK and Cancel.
#pragma once

#include <string>

#include "platform/window.h"

namespace yomite::platform {

constexpr const char* PASSWORD_PROMPT_TITLE = "Yomite パスワード入力";
constexpr const char* PASSWORD_PROMPT_OK = "OK";
constexpr const char* PASSWORD_PROMPT_CANCEL = "ｷｬﾝｾﾙ";
// The field takes at most this many characters.
constexpr int PASSWORD_PROMPT_MAX_CHARS = 80;

// Shows the prompt: `message` (UTF-8; its "&" mnemonic focuses the field)
// above an empty field that shows what is typed as typed (no masking, no
// case change). OK stores the field's text (UTF-8, at most
// PASSWORD_PROMPT_MAX_CHARS characters) in `answer` and returns 1; Cancel or
// closing the dialog returns 0; -1 when the dialog cannot be shown.
int password_prompt(Window* owner, const std::string& message, std::string& answer);

}  // namespace yomite::platform
