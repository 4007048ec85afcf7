// Command lines split into words, by the rules of the system the viewer runs
// on: the POSIX shell's quoting, or the Windows C runtime's (where a
// backslash in a path stands for itself).
#pragma once

#include <string>
#include <vector>

namespace yomite {

// As a POSIX shell splits: blanks separate; single and double quotes and
// backslashes keep them.
std::vector<std::string> split_command_words(const std::string& command);

// As the Windows C runtime splits: blanks separate outside double quotes;
// 2n backslashes before a quote are n and the quote opens or closes, 2n + 1
// are n and a quote; other backslashes stand for themselves; "" inside
// quotes is a quote. The first word (the program) knows quotes only.
std::vector<std::string> split_windows_command_words(const std::string& command);

// By the rules of this system (platform::command_line_rules).
std::vector<std::string> split_platform_command_words(const std::string& command);

}  // namespace yomite
