// Dialogs described as data, run by DialogBoxIndirectParamW over the main
// window: a template in dialog units, the values put in on WM_INITDIALOG and
// read back on OK (the core may keep the dialog open), buttons calling the
// core's hook. Enter is OK and Esc Cancel, as dialogs have them; a label's
// mnemonic focuses the control after it.
#include "platform/dialogs.h"

#include "platform/win32/dialog_template.h"
#include "platform/win32/late_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

struct Running {
  DialogForm* form;
  const DialogHooks* hooks;                 // a modal dialog's
  const ModelessHooks* modeless = nullptr;  // the window beside the main one
  int showing = 0;                          // values are being shown: no `changed`
};

std::wstring text_of(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  const int n = control ? GetWindowTextLengthW(control) : 0;
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  if (control) GetWindowTextW(control, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

void read_values(HWND dialog, DialogForm& form) {
  for (DialogControl& c : form.controls) {
    if (c.kind == CONTROL_EDIT && c.id) c.text = win32::narrow(text_of(dialog, c.id));
    if (c.kind == CONTROL_CHECK && c.id)
      c.checked = IsDlgButtonChecked(dialog, c.id) == BST_CHECKED ? 1 : 0;
    if (c.kind == CONTROL_LIST && c.id) {
      const LRESULT row = SendDlgItemMessageW(dialog, c.id, LB_GETCURSEL, 0, 0);
      c.selected = row == LB_ERR ? -1 : static_cast<int>(row);
    }
  }
}

void show_list(HWND dialog, const DialogControl& c) {
  HWND list = GetDlgItem(dialog, c.id);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& item : c.items)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(item).c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void show_values(HWND dialog, const DialogForm& form) {
  for (const DialogControl& c : form.controls) {
    if (!c.id) continue;
    // An edit keeps its caret while its text stays.
    if (c.kind == CONTROL_EDIT && win32::narrow(text_of(dialog, c.id)) != c.text)
      SetDlgItemTextW(dialog, c.id, win32::widen(c.text).c_str());
    if (c.kind == CONTROL_CHECK)
      CheckDlgButton(dialog, c.id, c.checked ? BST_CHECKED : BST_UNCHECKED);
    if (c.kind == CONTROL_LABEL) SetDlgItemTextW(dialog, c.id, win32::widen(c.label).c_str());
    if (c.kind == CONTROL_LIST) show_list(dialog, c);
  }
}

void show_running(HWND dialog, Running& r) {
  r.showing = 1;
  show_values(dialog, *r.form);
  r.showing = 0;
}

void set_up_controls(HWND dialog, const DialogForm& form) {
  for (const DialogControl& c : form.controls) {
    if (c.kind == CONTROL_EDIT && c.max_chars > 0)
      SendDlgItemMessageW(dialog, c.id, EM_LIMITTEXT, static_cast<WPARAM>(c.max_chars), 0);
    if (c.kind == CONTROL_SPIN) {
      HWND spin = GetDlgItem(dialog, c.id);
      SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, c.buddy)), 0);
      SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(c.spin_min),
                   static_cast<LPARAM>(c.spin_max));
    }
  }
  show_values(dialog, form);  // after the spins, which write their buddy's number
}

const DialogControl* control_of(const DialogForm& form, int id) {
  for (const DialogControl& c : form.controls)
    if (c.id == id && id != 0) return &c;
  return nullptr;
}

bool is_kind(const DialogForm& form, int id, ControlKind kind) {
  const DialogControl* c = control_of(form, id);
  return c && c->kind == kind;
}

// --- the window beside the main one ---

HWND g_modeless = nullptr;
Running g_modeless_running{nullptr, nullptr};

void end_modeless(HWND dialog) {
  Running& r = g_modeless_running;
  read_values(dialog, *r.form);
  g_modeless = nullptr;
  DestroyWindow(dialog);
  if (r.modeless && r.modeless->closed) r.modeless->closed(*r.form, r.modeless->context);
}

INT_PTR modeless_command(HWND dialog, WPARAM wparam) {
  Running& r = g_modeless_running;
  const int id = LOWORD(wparam);
  const int code = HIWORD(wparam);
  if (id == IDCANCEL) {
    end_modeless(dialog);
    return TRUE;
  }
  const bool value = (code == EN_CHANGE && is_kind(*r.form, id, CONTROL_EDIT)) ||
                     (code == BN_CLICKED && is_kind(*r.form, id, CONTROL_CHECK));
  if (value) {
    if (r.showing || !r.modeless->changed) return TRUE;
    read_values(dialog, *r.form);
    r.modeless->changed(*r.form, id, r.modeless->context);
  } else if (id == IDOK || (code == BN_CLICKED && is_kind(*r.form, id, CONTROL_BUTTON))) {
    read_values(dialog, *r.form);
    if (r.modeless->button) r.modeless->button(*r.form, id, r.modeless->context);
  } else {
    return FALSE;
  }
  if (g_modeless) show_running(dialog, r);
  return TRUE;
}

INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* r = reinterpret_cast<Running*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      auto* running = reinterpret_cast<Running*>(lparam);
      running->showing = 1;
      set_up_controls(dialog, *running->form);
      running->showing = 0;
      center_over_owner(dialog);
      return TRUE;  // the first control that takes the focus gets it
    }
    case WM_COMMAND: {
      if (!r) return FALSE;
      if (r->modeless) return modeless_command(dialog, wparam);
      const int id = LOWORD(wparam);
      // A double click on a row is OK.
      const bool row_chosen = HIWORD(wparam) == LBN_DBLCLK && is_kind(*r->form, id, CONTROL_LIST);
      if (id == IDOK || row_chosen) {
        read_values(dialog, *r->form);
        // The core may keep the dialog open: a value it does not accept.
        if (!r->hooks->accept || r->hooks->accept(*r->form, r->hooks->context))
          EndDialog(dialog, 1);
        return TRUE;
      }
      if (id == IDCANCEL) {
        read_values(dialog, *r->form);
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (HIWORD(wparam) == BN_CLICKED && is_kind(*r->form, id, CONTROL_BUTTON) &&
          r->hooks->button) {
        read_values(dialog, *r->form);
        r->hooks->button(*r->form, id, r->hooks->context);
        show_values(dialog, *r->form);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void init_controls() {
  static const bool controls = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    const auto init = win32::late_function<decltype(&InitCommonControlsEx)>(L"comctl32.dll",
                                                                            "InitCommonControlsEx");
    return init && init(&icc) != 0;
  }();
  (void)controls;
}

// Below the main window, where it covers no text, when the work area has
// room there; else where the template put it (centred).
void place_beside(HWND window, HWND owner) {
  RECT mine, theirs, work;
  if (!owner || !GetWindowRect(window, &mine) || !GetWindowRect(owner, &theirs) ||
      !SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    return;
  if (theirs.bottom + (mine.bottom - mine.top) > work.bottom) return;
  SetWindowPos(window, nullptr, theirs.left, theirs.bottom, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int modeless_open(Window* owner, DialogForm& form, const ModelessHooks& hooks) {
  init_controls();
  if (!g_modeless) {
    const DialogTemplate t = lay_out_dialog(form, dialog_text_width, nullptr);
    const std::vector<WORD> words = template_words(t, dialog_font_face(), DIALOG_FONT_POINTS);
    g_modeless_running = Running{&form, nullptr, &hooks};
    g_modeless = CreateDialogIndirectParamW(
        instance(), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner_hwnd(owner), dialog_proc,
        reinterpret_cast<LPARAM>(&g_modeless_running));
    if (!g_modeless) return -1;
    place_beside(g_modeless, owner_hwnd(owner));
    ShowWindow(g_modeless, SW_SHOW);
  }
  SetForegroundWindow(g_modeless);
  // The focus in the first edit, its text chosen, so typing replaces it.
  for (const DialogControl& c : form.controls)
    if (c.kind == CONTROL_EDIT && c.id) {
      HWND edit = GetDlgItem(g_modeless, c.id);
      SetFocus(edit);
      SendMessageW(edit, EM_SETSEL, 0, -1);
      break;
    }
  return 1;
}

void modeless_show_values(DialogForm& form) {
  if (g_modeless && g_modeless_running.form == &form) show_running(g_modeless, g_modeless_running);
}

void modeless_close() {
  if (g_modeless) end_modeless(g_modeless);
}

int modeless_takes_message(MSG& msg) {
  if (!g_modeless || !IsWindow(g_modeless)) return 0;
  if (msg.hwnd != g_modeless && !IsChild(g_modeless, msg.hwnd)) return 0;
  // F3 finds again from the window too.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F3) {
    Running& r = g_modeless_running;
    read_values(g_modeless, *r.form);
    if (r.modeless->again)
      r.modeless->again(*r.form, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, r.modeless->context);
    if (g_modeless) show_running(g_modeless, r);
    return 1;
  }
  return IsDialogMessageW(g_modeless, &msg) ? 1 : 0;
}

int run_dialog(Window* owner, DialogForm& form, const DialogHooks& hooks) {
  init_controls();
  const DialogTemplate t = lay_out_dialog(form, dialog_text_width, nullptr);
  const std::vector<WORD> words = template_words(t, dialog_font_face(), DIALOG_FONT_POINTS);
  Running r{&form, &hooks};
  const INT_PTR result =
      DialogBoxIndirectParamW(instance(), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                              owner_hwnd(owner), dialog_proc, reinterpret_cast<LPARAM>(&r));
  return result == 1 ? 1 : result == 0 ? 0 : -1;
}

}  // namespace yomite::platform
