// Dialogs described as data, run by DialogBoxIndirectParamW over the main
// window: a template in dialog units, the values put in on WM_INITDIALOG and
// read back on OK (the core may keep the dialog open), buttons calling the
// core's hook. Enter is OK and Esc Cancel, as dialogs have them; a label's
// mnemonic focuses the control after it.
#include "platform/dialogs.h"

#include "platform/win32/dialog_template.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

struct Running {
  DialogForm* form;
  const DialogHooks* hooks;
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
  }
}

void show_values(HWND dialog, const DialogForm& form) {
  for (const DialogControl& c : form.controls) {
    if (c.kind == CONTROL_EDIT && c.id) SetDlgItemTextW(dialog, c.id, win32::widen(c.text).c_str());
    if (c.kind == CONTROL_CHECK && c.id)
      CheckDlgButton(dialog, c.id, c.checked ? BST_CHECKED : BST_UNCHECKED);
  }
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

bool is_button(const DialogForm& form, int id) {
  for (const DialogControl& c : form.controls)
    if (c.kind == CONTROL_BUTTON && c.id == id) return true;
  return false;
}

INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* r = reinterpret_cast<Running*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      set_up_controls(dialog, *reinterpret_cast<Running*>(lparam)->form);
      center_over_owner(dialog);
      return TRUE;  // the first control that takes the focus gets it
    case WM_COMMAND: {
      if (!r) return FALSE;
      const int id = LOWORD(wparam);
      if (id == IDOK) {
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
      if (HIWORD(wparam) == BN_CLICKED && is_button(*r->form, id) && r->hooks->button) {
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

}  // namespace

int run_dialog(Window* owner, DialogForm& form, const DialogHooks& hooks) {
  static const bool controls = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != 0;
  }();
  (void)controls;
  const DialogTemplate t = lay_out_dialog(form, dialog_text_width, nullptr);
  const std::vector<WORD> words = template_words(t, dialog_font_face(), DIALOG_FONT_POINTS);
  Running r{&form, &hooks};
  const INT_PTR result =
      DialogBoxIndirectParamW(instance(), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                              owner_hwnd(owner), dialog_proc, reinterpret_cast<LPARAM>(&r));
  return result == 1 ? 1 : result == 0 ? 0 : -1;
}

}  // namespace yomite::platform
