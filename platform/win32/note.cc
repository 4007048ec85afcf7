// The note window of a footnote (a template of its own: a read-only edit of
// several lines and OK) and the plain message box.
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

// Dialog units.
constexpr int NOTE_WIDTH = 207;
constexpr int NOTE_HEIGHT = 117;
constexpr int NOTE_EDIT_ID = 1000;
constexpr int OK_WIDTH = 26;

// Line ends as the edit control wants them: CR LF.
std::wstring with_cr_lf(const std::string& text) {
  std::wstring out;
  for (wchar_t c : win32::widen(text)) {
    if (c == L'\n' && (out.empty() || out.back() != L'\r')) out += L'\r';
    out += c;
  }
  return out;
}

INT_PTR CALLBACK note_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, NOTE_EDIT_ID, reinterpret_cast<const wchar_t*>(lparam));
    center_over_owner(dialog);
    SetFocus(GetDlgItem(dialog, IDOK));  // Enter closes at once; the text stays selectable
    return FALSE;
  }
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wparam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void show_note(Window* owner, const std::string& text) {
  DialogTemplate t;
  t.title = win32::widen(NOTE_WINDOW_TITLE);
  t.cx = NOTE_WIDTH;
  t.cy = NOTE_HEIGHT;
  DialogItem edit;
  edit.atom = CLASS_EDIT;
  edit.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
               ES_READONLY | ES_AUTOVSCROLL;
  edit.id = NOTE_EDIT_ID;
  edit.x = 7;
  edit.y = 7;
  edit.cx = 164;
  edit.cy = 103;
  DialogItem ok;
  ok.atom = CLASS_BUTTON;
  ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
  ok.id = IDOK;
  ok.text = L"OK";
  ok.x = NOTE_WIDTH - 7 - OK_WIDTH;
  ok.y = 7;
  ok.cx = OK_WIDTH;
  ok.cy = 14;
  t.items = {edit, ok};
  const std::vector<WORD> words = template_words(t, dialog_font_face(), DIALOG_FONT_POINTS);
  const std::wstring shown = with_cr_lf(text);
  DialogBoxIndirectParamW(instance(), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                          owner_hwnd(owner), note_proc, reinterpret_cast<LPARAM>(shown.c_str()));
}

void message_box(Window* owner, const std::string& text, const std::string& caption) {
  MessageBoxW(owner_hwnd(owner), win32::widen(text).c_str(), win32::widen(caption).c_str(), MB_OK);
}

}  // namespace yomite::platform
