// Scripted password prompt for tests: each call takes the next answer.
#pragma once

#include <string>
#include <vector>

namespace yomite::fake {

struct PromptAnswer {
  int result;        // what password_prompt returns: 1 OK, 0 cancel, -1 cannot show
  std::string text;  // the field's text on OK
};

// Replaces the script and resets the count. Once the script is used up the
// prompt answers 0, as if cancelled.
void script_password_prompt(std::vector<PromptAnswer> answers);

// Prompts shown since the last script_password_prompt, and what each said.
int password_prompts_shown();
std::vector<std::string>& password_prompt_messages();

}  // namespace yomite::fake
