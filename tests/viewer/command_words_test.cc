// The editor command split by the rules of each system: Windows keeps the
// backslashes of a path that the shell's rules would take as escapes.
#include "viewer/command_words.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/process.h"
#include "viewer/dialogs.h"

namespace yomite {
namespace {

using Args = std::vector<std::string>;

TEST(SplitWindowsCommandWords, TheCRuntimesRules) {
  EXPECT_EQ(split_windows_command_words("notepad.exe"), Args{"notepad.exe"});
  EXPECT_EQ(split_windows_command_words("C:\\Windows\\notepad.exe /a"),
            (Args{"C:\\Windows\\notepad.exe", "/a"}));
  EXPECT_EQ(split_windows_command_words("\"C:\\Program Files\\ed\\ed.exe\" -n  x"),
            (Args{"C:\\Program Files\\ed\\ed.exe", "-n", "x"}));
  // Backslashes before a quote: 2n give n and a quote that opens or closes,
  // 2n + 1 give n and a quote.
  EXPECT_EQ(split_windows_command_words("p a\\\\\"b c\" d\\\"e f\\\\g"),
            (Args{"p", "a\\b c", "d\"e", "f\\\\g"}));
  EXPECT_EQ(split_windows_command_words("p \"say \"\"hi\"\"\" \"\""),
            (Args{"p", "say \"hi\"", ""}));
  // The program's name knows quotes only: its backslash before a quote stays.
  EXPECT_EQ(split_windows_command_words("\"C:\\tools\\\" x"), (Args{"C:\\tools\\", "x"}));
  EXPECT_TRUE(split_windows_command_words(" \t ").empty());
}

TEST(EditorArguments, SplitByTheSystemsRules) {
  const std::string command = "C:\\Editors\\edit.exe \"two words\"";
  const std::string file = "C:\\本\\a b.txt";
  fake::set_command_line_rules(platform::COMMAND_LINE_WINDOWS);
  EXPECT_EQ(editor_arguments(command, file), (Args{"C:\\Editors\\edit.exe", "two words", file}));
  fake::set_command_line_rules(platform::COMMAND_LINE_SHELL);
  EXPECT_EQ(editor_arguments(command, file), (Args{"C:Editorsedit.exe", "two words", file}));
}

}  // namespace
}  // namespace yomite
