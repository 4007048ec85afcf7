// Dialogs described as data, run as modal GtkDialogs over the main window:
// rows of labels, edits, up-down arrows, check boxes and buttons, then OK
// and Cancel. Enter is OK, Esc and closing are Cancel.
#include "platform/dialogs.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gtk/gtk_window.h"
#include "platform/gtk/mnemonics.h"

namespace yomite::platform {

namespace {

// An edit is as wide as the characters it takes, within these.
constexpr int EDIT_WIDTH_CHARS_MIN = 6;
constexpr int EDIT_WIDTH_CHARS_MAX = 32;

struct Running {
  DialogForm* form = nullptr;
  const DialogHooks* hooks = nullptr;       // a modal dialog's
  const ModelessHooks* modeless = nullptr;  // the window beside the main one
  GtkWidget* dialog = nullptr;
  std::vector<GtkWidget*> widgets;  // one per control, in order
  int showing = 0;                  // values are being shown: no `changed`
};

struct Arrow {
  Running* running;
  std::size_t spin;  // the spin control's index
  int step;          // +1 up, -1 down
};

GtkWidget* widget_of(Running& r, int id) {
  for (std::size_t i = 0; i < r.form->controls.size(); ++i)
    if (r.form->controls[i].id == id && id != 0) return r.widgets[i];
  return nullptr;
}

// A list is a tree view of one text column inside a scrolled window.
GtkTreeView* tree_of(GtkWidget* list) {
  return GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(list)));
}

int list_selected(GtkWidget* list) {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(tree_of(list)), &model, &iter))
    return -1;
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  const int row = gtk_tree_path_get_indices(path)[0];
  gtk_tree_path_free(path);
  return row;
}

void show_list(GtkWidget* list, const DialogControl& c) {
  GtkTreeView* tree = tree_of(list);
  GtkListStore* store = GTK_LIST_STORE(gtk_tree_view_get_model(tree));
  gtk_list_store_clear(store);
  for (const std::string& item : c.items) {
    GtkTreeIter iter;
    gtk_list_store_append(store, &iter);
    gtk_list_store_set(store, &iter, 0, item.c_str(), -1);
  }
  if (c.selected < 0 || c.selected >= static_cast<int>(c.items.size())) return;
  GtkTreePath* path = gtk_tree_path_new_from_indices(c.selected, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(tree), path);
  gtk_tree_view_scroll_to_cell(tree, path, nullptr, FALSE, 0, 0);
  gtk_tree_view_set_cursor(tree, path, nullptr, FALSE);
  gtk_tree_path_free(path);
}

void read_values(Running& r) {
  for (std::size_t i = 0; i < r.form->controls.size(); ++i) {
    DialogControl& c = r.form->controls[i];
    if (c.kind == CONTROL_EDIT) c.text = gtk_entry_get_text(GTK_ENTRY(r.widgets[i]));
    if (c.kind == CONTROL_CHECK)
      c.checked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(r.widgets[i])) ? 1 : 0;
    if (c.kind == CONTROL_LIST) c.selected = list_selected(r.widgets[i]);
  }
}

void show_values(Running& r) {
  r.showing = 1;
  for (std::size_t i = 0; i < r.form->controls.size(); ++i) {
    const DialogControl& c = r.form->controls[i];
    GtkWidget* w = r.widgets[i];
    // An edit keeps its cursor while its text stays.
    if (c.kind == CONTROL_EDIT && c.text != gtk_entry_get_text(GTK_ENTRY(w)))
      gtk_entry_set_text(GTK_ENTRY(w), c.text.c_str());
    if (c.kind == CONTROL_CHECK)
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), c.checked ? TRUE : FALSE);
    if (c.kind == CONTROL_LABEL)
      gtk_label_set_text_with_mnemonic(GTK_LABEL(w), gtk_mnemonic(c.label).c_str());
    if (c.kind == CONTROL_LIST) show_list(w, c);
  }
  r.showing = 0;
}

// A digits-only edit refuses any insertion that holds something else.
void on_insert_digits(GtkEditable* editable, const gchar* text, gint length, gint*, gpointer) {
  const std::size_t n = length < 0 ? std::char_traits<char>::length(text) : length;
  for (std::size_t i = 0; i < n; ++i)
    if (text[i] < '0' || text[i] > '9') {
      g_signal_stop_emission_by_name(editable, "insert-text");
      gtk_widget_error_bell(GTK_WIDGET(editable));
      return;
    }
}

GtkWidget* make_edit(const DialogControl& c) {
  GtkWidget* e = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(e), c.text.c_str());
  if (c.max_chars > 0) gtk_entry_set_max_length(GTK_ENTRY(e), c.max_chars);
  const bool number = !c.text.empty() && std::all_of(c.text.begin(), c.text.end(), [](char ch) {
    return ch >= '0' && ch <= '9';
  });
  int chars = c.max_chars > 0 ? c.max_chars : (number || c.digits_only ? 0 : EDIT_WIDTH_CHARS_MAX);
  gtk_entry_set_width_chars(GTK_ENTRY(e),
                            std::clamp(chars, EDIT_WIDTH_CHARS_MIN, EDIT_WIDTH_CHARS_MAX));
  gtk_entry_set_activates_default(GTK_ENTRY(e), TRUE);
  if (c.digits_only) g_signal_connect(e, "insert-text", G_CALLBACK(on_insert_digits), nullptr);
  return e;
}

// The up-down arrows write the buddy's number, one step within their range;
// a buddy without a number starts from the range's low end.
void step_spin(Running& r, std::size_t spin, int step) {
  const DialogControl& s = r.form->controls[spin];
  GtkWidget* buddy = widget_of(r, s.buddy);
  if (!buddy) return;
  const char* text = gtk_entry_get_text(GTK_ENTRY(buddy));
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  const long next = end == text ? s.spin_min : n + step;
  const long value = std::clamp<long>(next, s.spin_min, s.spin_max);
  gtk_entry_set_text(GTK_ENTRY(buddy), std::to_string(value).c_str());
}

void on_arrow_clicked(GtkButton*, gpointer data) {
  auto* a = static_cast<Arrow*>(data);
  step_spin(*a->running, a->spin, a->step);
}

// Up and Down in the buddy edit step the arrows too.
gboolean on_buddy_key(GtkWidget*, GdkEventKey* e, gpointer data) {
  auto* a = static_cast<Arrow*>(data);
  if (e->keyval != GDK_KEY_Up && e->keyval != GDK_KEY_Down) return FALSE;
  step_spin(*a->running, a->spin, e->keyval == GDK_KEY_Up ? 1 : -1);
  return TRUE;
}

void free_arrow(gpointer data, GClosure*) {
  delete static_cast<Arrow*>(data);
}

GtkWidget* make_spin(Running& r, std::size_t index) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_style_context_add_class(gtk_widget_get_style_context(box), GTK_STYLE_CLASS_LINKED);
  const char* icons[] = {"pan-up-symbolic", "pan-down-symbolic"};
  for (int k = 0; k < 2; ++k) {
    GtkWidget* b = gtk_button_new_from_icon_name(icons[k], GTK_ICON_SIZE_BUTTON);
    gtk_widget_set_can_focus(b, FALSE);
    g_signal_connect_data(b, "clicked", G_CALLBACK(on_arrow_clicked),
                          new Arrow{&r, index, k == 0 ? 1 : -1}, free_arrow,
                          static_cast<GConnectFlags>(0));
    gtk_container_add(GTK_CONTAINER(box), b);
  }
  return box;
}

void press(Running& r, int id) {
  read_values(r);
  if (r.modeless && r.modeless->button)
    r.modeless->button(*r.form, id, r.modeless->context);
  else if (r.hooks && r.hooks->button)
    r.hooks->button(*r.form, id, r.hooks->context);
  else
    return;
  if (r.dialog) show_values(r);
}

void on_button_clicked(GtkButton* button, gpointer data) {
  press(*static_cast<Running*>(data), GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "id")));
}

// The modeless window hears every edit and check box as it changes.
void on_value_changed(GtkWidget* widget, gpointer data) {
  auto* r = static_cast<Running*>(data);
  if (r->showing || !r->modeless || !r->modeless->changed) return;
  read_values(*r);
  r->modeless->changed(*r->form, GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "id")),
                       r->modeless->context);
}

// A double click or Enter on a row is OK.
void on_row_activated(GtkTreeView*, GtkTreePath*, GtkTreeViewColumn*, gpointer data) {
  auto* r = static_cast<Running*>(data);
  if (r->dialog) gtk_dialog_response(GTK_DIALOG(r->dialog), GTK_RESPONSE_OK);
}

GtkWidget* make_list(Running& r, const DialogControl& c) {
  GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
  GtkWidget* tree = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(tree), FALSE);
  gtk_tree_view_append_column(GTK_TREE_VIEW(tree),
                              gtk_tree_view_column_new_with_attributes(
                                  "", gtk_cell_renderer_text_new(), "text", 0, nullptr));
  g_signal_connect(tree, "row-activated", G_CALLBACK(on_row_activated), &r);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
  // As large as the rows and characters asked for, in the font's measure.
  PangoLayout* layout = gtk_widget_create_pango_layout(tree, "あ");
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  g_object_unref(layout);
  gtk_widget_set_size_request(scrolled, std::max(c.list_width, 10) * w / 2,
                              std::max(c.list_rows, 3) * (h + 6));
  gtk_container_add(GTK_CONTAINER(scrolled), tree);
  show_list(scrolled, c);
  return scrolled;
}

GtkWidget* make_control(Running& r, std::size_t i) {
  const DialogControl& c = r.form->controls[i];
  switch (c.kind) {
    case CONTROL_LABEL: {
      GtkWidget* l = gtk_label_new_with_mnemonic(gtk_mnemonic(c.label).c_str());
      gtk_label_set_xalign(GTK_LABEL(l), 0);
      gtk_label_set_selectable(GTK_LABEL(l), FALSE);
      return l;
    }
    case CONTROL_EDIT: {
      GtkWidget* e = make_edit(c);
      g_object_set_data(G_OBJECT(e), "id", GINT_TO_POINTER(c.id));
      g_signal_connect(e, "changed", G_CALLBACK(on_value_changed), &r);
      return e;
    }
    case CONTROL_LIST:
      return make_list(r, c);
    case CONTROL_SPIN:
      return make_spin(r, i);
    case CONTROL_CHECK: {
      GtkWidget* b = gtk_check_button_new_with_mnemonic(gtk_mnemonic(c.label).c_str());
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(b), c.checked ? TRUE : FALSE);
      g_object_set_data(G_OBJECT(b), "id", GINT_TO_POINTER(c.id));
      g_signal_connect(b, "toggled", G_CALLBACK(on_value_changed), &r);
      return b;
    }
    case CONTROL_BUTTON: {
      GtkWidget* b = gtk_button_new_with_mnemonic(gtk_mnemonic(c.label).c_str());
      g_object_set_data(G_OBJECT(b), "id", GINT_TO_POINTER(c.id));
      g_signal_connect(b, "clicked", G_CALLBACK(on_button_clicked), &r);
      return b;
    }
  }
  return gtk_label_new("");
}

// A label's mnemonic focuses the next control that takes the focus (a spin's
// buddy edit is that edit).
void link_mnemonics(Running& r) {
  const auto& cs = r.form->controls;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    if (cs[i].kind != CONTROL_LABEL) continue;
    for (std::size_t j = i + 1; j < cs.size(); ++j) {
      const ControlKind k = cs[j].kind;
      if (k == CONTROL_LABEL || k == CONTROL_SPIN) continue;
      gtk_label_set_mnemonic_widget(GTK_LABEL(r.widgets[i]), r.widgets[j]);
      break;
    }
  }
}

void connect_spin_keys(Running& r) {
  for (std::size_t i = 0; i < r.form->controls.size(); ++i) {
    const DialogControl& c = r.form->controls[i];
    GtkWidget* buddy = c.kind == CONTROL_SPIN ? widget_of(r, c.buddy) : nullptr;
    if (buddy && GTK_IS_ENTRY(buddy))
      g_signal_connect_data(buddy, "key-press-event", G_CALLBACK(on_buddy_key), new Arrow{&r, i, 0},
                            free_arrow, static_cast<GConnectFlags>(0));
  }
}

// Enter is OK wherever the focus is, except on a push button, which Enter
// presses.
gboolean on_dialog_key(GtkWidget* dialog, GdkEventKey* e, gpointer) {
  if (e->keyval != GDK_KEY_Return && e->keyval != GDK_KEY_KP_Enter) return FALSE;
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog));
  if (focus && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus)) return FALSE;
  gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  return TRUE;
}

GtkWidget* build(Running& r, Window* owner) {
  const DialogForm& form = *r.form;
  GtkWidget* d = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(d), form.title.c_str());
  gtk_window_set_transient_for(GTK_WINDOW(d), owner_toplevel(owner));
  gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_window_set_modal(GTK_WINDOW(d), r.modeless ? FALSE : TRUE);
  gtk_window_set_destroy_with_parent(GTK_WINDOW(d), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(d), FALSE);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(d));
  gtk_container_set_border_width(GTK_CONTAINER(content), 10);
  gtk_box_set_spacing(GTK_BOX(content), 8);
  GtkWidget* row = nullptr;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    if (!row || !form.controls[i].same_row) {
      row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
      gtk_box_pack_start(GTK_BOX(content), row, FALSE, FALSE, 0);
    }
    r.widgets.push_back(make_control(r, i));
    gtk_box_pack_start(GTK_BOX(row), r.widgets.back(), FALSE, FALSE, 0);
  }
  link_mnemonics(r);
  connect_spin_keys(r);
  gtk_dialog_add_button(GTK_DIALOG(d), gtk_mnemonic(form.ok_label).c_str(), GTK_RESPONSE_OK);
  if (!form.cancel_label.empty())
    gtk_dialog_add_button(GTK_DIALOG(d), gtk_mnemonic(form.cancel_label).c_str(),
                          GTK_RESPONSE_CANCEL);
  gtk_dialog_set_default_response(GTK_DIALOG(d), GTK_RESPONSE_OK);
  if (!r.modeless) g_signal_connect(d, "key-press-event", G_CALLBACK(on_dialog_key), nullptr);
  gtk_widget_show_all(content);
  return d;
}

// --- the window beside the main one ---

// Below the main window, where it covers no text, when the screen has room
// there; the window manager may place it otherwise.
void place_beside(GtkWidget* window, GtkWindow* owner) {
  if (!owner) return;
  int x = 0, y = 0, width = 0, height = 0;
  gtk_window_get_position(owner, &x, &y);
  gtk_window_get_size(owner, &width, &height);
  GdkWindow* frame = gtk_widget_get_window(GTK_WIDGET(owner));
  if (frame) {
    GdkRectangle outer;
    gdk_window_get_frame_extents(frame, &outer);
    height = outer.y + outer.height - y;
  }
  GdkMonitor* monitor =
      frame ? gdk_display_get_monitor_at_window(gdk_window_get_display(frame), frame) : nullptr;
  GdkRectangle work{0, 0, 0, 0};
  if (monitor) gdk_monitor_get_workarea(monitor, &work);
  int natural = 0, minimum = 0;
  gtk_widget_get_preferred_height(window, &minimum, &natural);
  if (work.height > 0 && y + height + natural > work.y + work.height) return;
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_NONE);
  gtk_window_move(GTK_WINDOW(window), x, y + height);
}

Running g_modeless;

void forget_modeless() {
  g_modeless.dialog = nullptr;
  g_modeless.widgets.clear();
}

void on_modeless_response(GtkDialog* dialog, gint response, gpointer) {
  Running& r = g_modeless;
  if (response == GTK_RESPONSE_OK) {
    press(r, 1);
    return;
  }
  // Cancel, Esc, the close button: the window goes.
  read_values(r);
  const ModelessHooks* hooks = r.modeless;
  DialogForm* form = r.form;
  forget_modeless();
  gtk_widget_destroy(GTK_WIDGET(dialog));
  if (hooks && hooks->closed) hooks->closed(*form, hooks->context);
}

gboolean on_modeless_key(GtkWidget* dialog, GdkEventKey* e, gpointer data) {
  if (e->keyval == GDK_KEY_F3) {
    Running& r = g_modeless;
    read_values(r);
    if (r.modeless && r.modeless->again)
      r.modeless->again(*r.form, (e->state & GDK_SHIFT_MASK) ? 1 : 0, r.modeless->context);
    if (r.dialog) show_values(r);
    return TRUE;
  }
  return on_dialog_key(dialog, e, data);
}

}  // namespace

int modeless_open(Window* owner, DialogForm& form, const ModelessHooks& hooks) {
  if (!gdk_display_get_default()) return -1;
  Running& r = g_modeless;
  if (!r.dialog) {
    r.form = &form;
    r.hooks = nullptr;
    r.modeless = &hooks;
    r.dialog = build(r, owner);
    g_signal_connect(r.dialog, "key-press-event", G_CALLBACK(on_modeless_key), nullptr);
    g_signal_connect(r.dialog, "response", G_CALLBACK(on_modeless_response), nullptr);
    place_beside(r.dialog, owner_toplevel(owner));
    gtk_widget_show(r.dialog);
  }
  gtk_window_present(GTK_WINDOW(r.dialog));
  // The focus in the first edit, its text chosen, so typing replaces it.
  for (std::size_t i = 0; i < form.controls.size(); ++i)
    if (form.controls[i].kind == CONTROL_EDIT) {
      gtk_widget_grab_focus(r.widgets[i]);
      break;
    }
  return 1;
}

void modeless_show_values(DialogForm& form) {
  if (g_modeless.dialog && g_modeless.form == &form) show_values(g_modeless);
}

void modeless_close() {
  if (g_modeless.dialog) gtk_dialog_response(GTK_DIALOG(g_modeless.dialog), GTK_RESPONSE_CANCEL);
}

int run_dialog(Window* owner, DialogForm& form, const DialogHooks& hooks) {
  if (!gdk_display_get_default()) return -1;
  Running r;
  r.form = &form;
  r.hooks = &hooks;
  r.dialog = build(r, owner);
  // The dialog goes with its owner when the main window is destroyed.
  g_object_add_weak_pointer(G_OBJECT(r.dialog), reinterpret_cast<gpointer*>(&r.dialog));
  int result = 0;
  for (;;) {
    const int response = gtk_dialog_run(GTK_DIALOG(r.dialog));
    if (!r.dialog) return 0;
    read_values(r);
    if (response != GTK_RESPONSE_OK) break;
    // The core may keep the dialog open (a value it does not accept).
    if (!hooks.accept || hooks.accept(form, hooks.context)) {
      result = 1;
      break;
    }
  }
  g_object_remove_weak_pointer(G_OBJECT(r.dialog), reinterpret_cast<gpointer*>(&r.dialog));
  gtk_widget_destroy(r.dialog);
  return result;
}

}  // namespace yomite::platform
