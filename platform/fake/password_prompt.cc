#include <cstddef>
#include <utility>

#include "platform/fake/fake_password_prompt.h"
#include "platform/password_prompt.h"

namespace yomite {

namespace {
std::vector<fake::PromptAnswer> g_script;
std::size_t g_shown = 0;
}  // namespace

void fake::script_password_prompt(std::vector<PromptAnswer> answers) {
  g_script = std::move(answers);
  g_shown = 0;
}

int fake::password_prompts_shown() {
  return static_cast<int>(g_shown);
}

int platform::password_prompt(Window*, std::string& answer) {
  std::size_t at = g_shown++;
  if (at >= g_script.size()) return 0;
  if (g_script[at].result == 1) answer = g_script[at].text;
  return g_script[at].result;
}

}  // namespace yomite
