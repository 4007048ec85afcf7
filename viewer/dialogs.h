// The small windows around the viewer: opening another file, the editor, and
// the width, page-jump, settings and about dialogs (the controls as data,
// run modally by the backend).
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "view/view_context.h"
#include "viewer/command_words.h"

namespace yomite {

// Control ids the behaviour refers to.
constexpr int ID_OK = 1;
constexpr int ID_CANCEL = 2;
constexpr int ID_WIDTH_COLUMN = 1000;
constexpr int ID_WIDTH_PAGE = 1004;
constexpr int ID_PAGE_NUMBER = 1000;
constexpr int ID_PAGE_SPIN = 1005;
constexpr int ID_PAGE_PERCENT = 1006;  // extension: a place given in percent
constexpr int ID_SETTINGS_EDITOR = 1000;
constexpr int ID_SETTINGS_BROWSE = 120;
constexpr int ID_SETTINGS_SMOOTHING = 1002;
constexpr int ID_SETTINGS_JUSTIFY = 1003;
constexpr int ID_SETTINGS_RUBY = 1006;
// Check boxes of the extensions.
constexpr int ID_SETTINGS_FULL_NOTATION = 1007;
constexpr int ID_SETTINGS_BOOK_COMPOSITION = 1008;
constexpr int ID_SETTINGS_FIT_WINDOW = 1009;
constexpr int ID_SETTINGS_KEEP_PLACE = 1010;
constexpr const char* KEEP_PLACE_LABEL = "閉じたところから開く(&K)";
constexpr const char* BOOK_COMPOSITION_LABEL = "本の組版規則で組む(&N)";

// Column lengths and lines per page the width dialog accepts, and what it
// says when a value is not one of them.
constexpr int WIDTH_DIALOG_MIN = 10;
constexpr int WIDTH_DIALOG_MAX = 200;
constexpr const char* WIDTH_DIALOG_REFUSAL = "どちらも 10 から 200 までの数を入れてください。";
// The page-jump dialog: digits in its field, and the spin's range.
constexpr int PAGE_JUMP_DIGITS = 5;
constexpr int PAGE_JUMP_MAX = 32767;

// Chooses a file and shows it in a new viewer (an empty viewer makes way for it).
void open_file_dialog(ViewContext& view);

// Hands the shown file to the editor; a failure is shown in a message box. 1
// when the editor started.
int launch_editor(ViewContext& view);

// The editor command split into words by this system's rules
// (viewer/command_words.h), the file appended as one word.
std::vector<std::string> editor_arguments(const std::string& command, const std::string& file);

// 1 when OK took two numbers in 10..200 into column_chars and page_lines.
int width_dialog(ViewContext& view);

// The page number chosen (above 0), or 0 when cancelled. Extension: the
// dialog shows the number of pages and takes a place in percent instead
// (0..100): then `percent` (when given) gets it and the result is -1.
int page_jump_dialog(ViewContext& view, int page, int* percent = nullptr);

// Editor command, smoothing, justification and ruby size. Writes the
// settings (and repaints) when one of the last three changed. 1 on OK.
int settings_dialog(ViewContext& view);

void about_box(ViewContext& view);

// A program for the settings dialog's editor field; a path with a blank comes
// back in double quotes. 1 when one was chosen.
int choose_program(platform::Window* owner, std::string& out);

// Numbers as the dialogs read them: blanks around digits, nothing else. -1
// when the text is not such a number (or too large for an int).
long long dialog_number(const std::string& text);

// A dialog that lists places in the text and goes to the chosen one (its OK
// button "移動"); the list, of `rows` rows `width` characters wide, is its
// first control. accept_list_row is its accept hook: OK acts only on a row.
platform::DialogForm places_list_form(const char* title, int list_id, int rows, int width);
int accept_list_row(platform::DialogForm& form, void* context);

}  // namespace yomite
