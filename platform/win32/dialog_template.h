// Dialog templates in memory, for DialogBoxIndirectParamW: the dialog and its
// controls in dialog units, with the dialog's font ("ＭＳ Ｐゴシック" 9 pt,
// or what stands in for it). DLGTEMPLATE layout: the dialog's header, its
// menu, class, title and font, then each control DWORD-aligned with its
// class (an atom or a name), its text and no creation data.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

constexpr const char* DIALOG_FONT_FACE = "ＭＳ Ｐゴシック";
constexpr int DIALOG_FONT_POINTS = 9;

// Classes of the predefined controls, by atom.
constexpr WORD CLASS_BUTTON = 0x0080;
constexpr WORD CLASS_EDIT = 0x0081;
constexpr WORD CLASS_STATIC = 0x0082;
constexpr WORD CLASS_LISTBOX = 0x0083;

struct DialogItem {
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  int id = -1;                       // -1: a label without an id
  WORD atom = 0;                     // a predefined class, or 0 for `class_name`
  std::wstring class_name;
  std::wstring text;
  int control = -1;  // index in DialogForm::controls, or -1 (OK, Cancel)
};

struct DialogTemplate {
  std::wstring title;
  int cx = 0, cy = 0;
  std::vector<DialogItem> items;
};

// The words of the template, ready for DialogBoxIndirectParamW.
std::vector<WORD> template_words(const DialogTemplate& t, const std::wstring& font_face,
                                 int points);

// The installed face the dialogs use: DIALOG_FONT_FACE or its stand-in.
std::wstring dialog_font_face();

// Width of a label's text in dialog units, its mnemonic marks left out.
using TextWidth = int (*)(const std::wstring& text, void* context);

// Rows of the form's controls from the top left, OK and Cancel below at the
// right, the dialog as large as what it holds.
DialogTemplate lay_out_dialog(const DialogForm& form, TextWidth width, void* context);

// The text of a label as shown: "&" marks dropped, "&&" one "&".
std::wstring shown_text(const std::wstring& label);

// Width in dialog units of `text` in the dialogs' font on this screen.
int dialog_text_width(const std::wstring& text, void* unused);

}  // namespace yomite::platform
