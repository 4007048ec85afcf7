#include "platform/win32/dialog_template.h"

#include <algorithm>

#include "platform/win32/font_faces.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

namespace {

// Dialog units.
constexpr int MARGIN = 7;
constexpr int GAP = 4;
constexpr int ROW_HEIGHT = 14;
constexpr int EDIT_HEIGHT = 12;
constexpr int LABEL_HEIGHT = 8;
constexpr int CHECK_HEIGHT = 10;
constexpr int CHECK_BOX_WIDTH = 14;  // the box and its gap before the text
constexpr int SPIN_WIDTH = 10;
constexpr int BUTTON_WIDTH = 50;
constexpr int BUTTON_PADDING = 12;
constexpr int CHAR_WIDTH = 4;  // a half-width character
constexpr int EDIT_CHARS_MIN = 6;
constexpr int EDIT_CHARS_MAX = 32;
constexpr int EDIT_PADDING = 8;
constexpr int LIST_ROW_HEIGHT = 9;  // a row of a list box
constexpr int LIST_CHARS_MIN = 20;
constexpr int LIST_ROWS_MIN = 3;

void put_string(std::vector<WORD>& w, const std::wstring& s) {
  for (wchar_t c : s) w.push_back(static_cast<WORD>(c));
  w.push_back(0);
}

void put_dword(std::vector<WORD>& w, DWORD d) {
  w.push_back(static_cast<WORD>(d & 0xFFFF));
  w.push_back(static_cast<WORD>(d >> 16));
}

void align_dword(std::vector<WORD>& w) {
  if (w.size() % 2) w.push_back(0);
}

bool is_number(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int edit_width(const DialogControl& c) {
  const int chars = c.max_chars > 0                      ? c.max_chars
                    : is_number(c.text) || c.digits_only ? 0
                                                         : EDIT_CHARS_MAX;
  return std::clamp(chars, EDIT_CHARS_MIN, EDIT_CHARS_MAX) * CHAR_WIDTH + EDIT_PADDING;
}

// One control's item at (x, row_top); its width is the item's cx.
DialogItem item_of(const DialogControl& c, int index, int x, int row_top, TextWidth width,
                   void* context) {
  DialogItem it;
  it.control = index;
  it.id = c.kind == CONTROL_LABEL && c.id == 0 ? -1 : c.id;
  it.x = x;
  const std::wstring label = win32::widen(c.label);
  switch (c.kind) {
    case CONTROL_LABEL:
      it.atom = CLASS_STATIC;
      it.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
      it.text = label;
      it.cx = width(shown_text(label), context) + 2;
      // A label the core writes again (a status line) has room to grow.
      if (c.id != 0) it.cx = std::max(it.cx, EDIT_CHARS_MAX * CHAR_WIDTH);
      it.cy = LABEL_HEIGHT;
      it.y = row_top + (ROW_HEIGHT - LABEL_HEIGHT) / 2;
      break;
    case CONTROL_EDIT:
      it.atom = CLASS_EDIT;
      it.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL |
                 (c.digits_only ? ES_NUMBER : 0);
      it.text = win32::widen(c.text);
      it.cx = edit_width(c);
      it.cy = EDIT_HEIGHT;
      it.y = row_top + (ROW_HEIGHT - EDIT_HEIGHT) / 2;
      break;
    case CONTROL_SPIN:
      it.class_name = UPDOWN_CLASSW;
      it.style = WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
      it.cx = SPIN_WIDTH;
      it.cy = EDIT_HEIGHT;
      it.y = row_top + (ROW_HEIGHT - EDIT_HEIGHT) / 2;
      break;
    case CONTROL_CHECK:
      it.atom = CLASS_BUTTON;
      it.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
      it.text = label;
      it.cx = width(shown_text(label), context) + CHECK_BOX_WIDTH;
      it.cy = CHECK_HEIGHT;
      it.y = row_top + (ROW_HEIGHT - CHECK_HEIGHT) / 2;
      break;
    case CONTROL_LIST:
      it.atom = CLASS_LISTBOX;
      it.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                 LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      it.cx = std::max(c.list_width, LIST_CHARS_MIN) * CHAR_WIDTH;
      it.cy = std::max(c.list_rows, LIST_ROWS_MIN) * LIST_ROW_HEIGHT + 4;
      it.y = row_top;
      break;
    case CONTROL_BUTTON:
      it.atom = CLASS_BUTTON;
      it.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
      it.text = label;
      it.cx = std::max(width(shown_text(label), context) + BUTTON_PADDING, BUTTON_WIDTH);
      it.cy = ROW_HEIGHT;
      it.y = row_top;
      break;
  }
  return it;
}

DialogItem push_button(const std::string& label, int id, DWORD kind) {
  DialogItem b;
  b.atom = CLASS_BUTTON;
  b.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind;
  b.id = id;
  b.text = win32::widen(label);
  b.cx = BUTTON_WIDTH;
  b.cy = ROW_HEIGHT;
  return b;
}

}  // namespace

std::wstring shown_text(const std::wstring& label) {
  std::wstring out;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == L'&' && i + 1 < label.size()) ++i;
    out += label[i];
  }
  return out;
}

DialogTemplate lay_out_dialog(const DialogForm& form, TextWidth width, void* context) {
  DialogTemplate t;
  t.title = win32::widen(form.title);
  int row_top = MARGIN - (ROW_HEIGHT + GAP), x = MARGIN, widest = 0, row_height = ROW_HEIGHT;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const DialogControl& c = form.controls[i];
    if (i == 0 || !c.same_row) {
      row_top += row_height + GAP;
      row_height = ROW_HEIGHT;
      x = MARGIN;
    }
    DialogItem it = item_of(c, static_cast<int>(i), x, row_top, width, context);
    row_height = std::max(row_height, it.y - row_top + it.cy);  // a list is taller
    x += it.cx + (c.kind == CONTROL_EDIT ? 1 : GAP);            // a spin sits close to its edit
    widest = std::max(widest, x - GAP);
    t.items.push_back(it);
  }
  const int buttons_top = (form.controls.empty() ? MARGIN : row_top + row_height + 2 * GAP);
  const bool cancel = !form.cancel_label.empty();
  const int buttons_width = cancel ? 2 * BUTTON_WIDTH + GAP : BUTTON_WIDTH;
  t.cx = std::max(widest, MARGIN + buttons_width) + MARGIN;
  t.cy = buttons_top + ROW_HEIGHT + MARGIN;
  DialogItem ok = push_button(form.ok_label, IDOK, BS_DEFPUSHBUTTON);
  ok.x = t.cx - MARGIN - buttons_width;
  ok.y = buttons_top;
  t.items.push_back(ok);
  if (cancel) {
    DialogItem no = push_button(form.cancel_label, IDCANCEL, BS_PUSHBUTTON);
    no.x = ok.x + BUTTON_WIDTH + GAP;
    no.y = buttons_top;
    t.items.push_back(no);
  }
  return t;
}

std::vector<WORD> template_words(const DialogTemplate& t, const std::wstring& font_face,
                                 int points) {
  std::vector<WORD> w;
  put_dword(w, DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  put_dword(w, 0);  // extended style
  w.push_back(static_cast<WORD>(t.items.size()));
  w.push_back(0), w.push_back(0);  // x, y: DS_CENTER places it
  w.push_back(static_cast<WORD>(t.cx));
  w.push_back(static_cast<WORD>(t.cy));
  w.push_back(0);  // no menu
  w.push_back(0);  // the dialog class
  put_string(w, t.title);
  w.push_back(static_cast<WORD>(points));
  put_string(w, font_face);
  for (const DialogItem& it : t.items) {
    align_dword(w);
    put_dword(w, it.style);
    put_dword(w, 0);
    w.push_back(static_cast<WORD>(it.x));
    w.push_back(static_cast<WORD>(it.y));
    w.push_back(static_cast<WORD>(it.cx));
    w.push_back(static_cast<WORD>(it.cy));
    w.push_back(static_cast<WORD>(it.id));
    if (it.atom) {
      w.push_back(0xFFFF);
      w.push_back(it.atom);
    } else {
      put_string(w, it.class_name);
    }
    put_string(w, it.text);
    w.push_back(0);  // no creation data
  }
  return w;
}

// By the name GDI finds it under: the status strip's font is made before
// the first frame when the strip shows, without listing every family.
std::wstring dialog_font_face() {
  return win32::widen(drawing_family_for(DIALOG_FONT_FACE).name);
}

int dialog_text_width(const std::wstring& text, void*) {
  static HFONT font = nullptr;
  static int base_x = 0;
  HDC dc = GetDC(nullptr);
  if (!font) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(DIALOG_FONT_POINTS, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = dialog_font_face();
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    font = CreateFontIndirectW(&lf);
  }
  HGDIOBJ old = SelectObject(dc, font);
  if (!base_x) {
    // The dialog manager's own measure: the average of the Latin letters.
    const wchar_t* letters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE s;
    GetTextExtentPoint32W(dc, letters, 52, &s);
    base_x = std::max(1L, (s.cx / 26 + 1) / 2);
  }
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return static_cast<int>((size.cx * 4 + base_x - 1) / base_x);
}

}  // namespace yomite::platform
