#include <cstddef>
#include <utility>

#include "platform/fake/fake_password_prompt.h"
#include "platform/password_prompt.h"

namespace yomite {

namespace {
std::vector<fake::PromptAnswer> g_script;
std::size_t g_shown = 0;
std::vector<std::string> g_messages;
}  // namespace

void fake::script_password_prompt(std::vector<PromptAnswer> answers) {
  g_script = std::move(answers);
  g_shown = 0;
  g_messages.clear();
}

int fake::password_prompts_shown() {
  return static_cast<int>(g_shown);
}

std::vector<std::string>& fake::password_prompt_messages() {
  return g_messages;
}

int platform::password_prompt(Window*, const std::string& message, std::string& answer) {
  g_messages.push_back(message);
  std::size_t at = g_shown++;
  if (at >= g_script.size()) return 0;
  if (g_script[at].result == 1) answer = g_script[at].text;
  return g_script[at].result;
}

}  // namespace yomite
