// Command lines split into words by the shell's rules and by Windows' rules.
#include "viewer/command_words.h"

#include "platform/process.h"

namespace yomite {

std::vector<std::string> split_command_words(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (quote == '\'') {
      if (c == '\'')
        quote = 0;
      else
        word += c;
    } else if (quote == '"') {
      if (c == '"') {
        quote = 0;
      } else if (c == '\\' && i + 1 < command.size() &&
                 std::string("\"\\$`").find(command[i + 1]) != std::string::npos) {
        word += command[++i];
      } else {
        word += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      in_word = true;
      if (c == '\'' || c == '"')
        quote = c;
      else if (c == '\\' && i + 1 < command.size())
        word += command[++i];
      else
        word += c;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// The program's name: quotes open and close, everything else is itself.
std::size_t take_program_word(const std::string& command, std::size_t i, std::string& word) {
  bool quoted = false;
  for (; i < command.size() && (quoted || !is_blank(command[i])); ++i) {
    if (command[i] == '"')
      quoted = !quoted;
    else
      word += command[i];
  }
  return i;
}

std::size_t take_argument_word(const std::string& command, std::size_t i, std::string& word) {
  bool quoted = false;
  while (i < command.size() && (quoted || !is_blank(command[i]))) {
    std::size_t backslashes = 0;
    while (i < command.size() && command[i] == '\\') ++backslashes, ++i;
    if (i < command.size() && command[i] == '"') {
      word.append(backslashes / 2, '\\');
      if (backslashes % 2) {
        word += '"';
      } else if (quoted && i + 1 < command.size() && command[i + 1] == '"') {
        word += '"';  // "" inside quotes
        ++i;
      } else {
        quoted = !quoted;
      }
      ++i;
    } else {
      word.append(backslashes, '\\');
      if (i < command.size() && (quoted || !is_blank(command[i]))) word += command[i++];
    }
  }
  return i;
}

}  // namespace

std::vector<std::string> split_windows_command_words(const std::string& command) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < command.size()) {
    while (i < command.size() && is_blank(command[i])) ++i;
    if (i >= command.size()) break;
    std::string word;
    i = words.empty() ? take_program_word(command, i, word) : take_argument_word(command, i, word);
    words.push_back(word);
  }
  return words;
}

std::vector<std::string> split_platform_command_words(const std::string& command) {
  return platform::command_line_rules() == platform::COMMAND_LINE_WINDOWS
             ? split_windows_command_words(command)
             : split_command_words(command);
}

}  // namespace yomite
