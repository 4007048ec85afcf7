// The find window and the commands around it.
#include "viewer/find.h"

#include <algorithm>

#include "decode/decode.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "view/modal.h"
#include "viewer/command_handlers.h"
#include "viewer/dialogs.h"
#include "viewer/place.h"
#include "viewer/reader_commands.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

using platform::DialogControl;
using platform::DialogForm;

// The search of this process (it has one view) and its window.
struct FindSession {
  std::u16string text;
  SearchOptions options;
  int current = -1;
  int wrapped = 0;  // +1 the last step wrapped to the start, -1 to the end
  DialogForm form;
  platform::ModelessHooks hooks;
  int shown = 0;
  ViewContext* view = nullptr;
};

FindSession& session() {
  static FindSession s;
  return s;
}

// What the find window holds, at most a pattern's length.
std::u16string pattern_of(const std::string& utf8) {
  std::u16string text = utf8_to_u16string(utf8);
  if (text.size() > FIND_TEXT_MAX_UNITS) text.resize(FIND_TEXT_MAX_UNITS);
  return text;
}

std::string narrow(const std::u16string& s) {
  return utf16_to_utf8(s.data(), s.size());
}

void repaint(ViewContext& v) {
  platform::window_invalidate(v.viewport.window, nullptr, 0);
}

// The view shows the match: where it is in sight nothing moves; otherwise
// its page in page mode, else its column two columns in.
void show_match(ViewContext& v, const TextRange& m) {
  const int top = v.viewport.top_line;
  const int visible = std::max(visible_lines(v), 1);
  if (m.line >= top && m.end_line < top + visible) {
    repaint(v);
    update_scroll_bar(v);
    return;
  }
  if (v.settings.page_mode && v.typeset.vertical && v.settings.page_lines > 0)
    jump_to(v, m.line / v.settings.page_lines * v.settings.page_lines);
  else
    jump_to(v, std::max(m.line - 2, 0));
}

void go_to(ViewContext& v, int k) {
  FindSession& s = session();
  s.current = k;
  v.viewport.current_highlight = k;
  if (k >= 0) show_match(v, v.viewport.highlights[static_cast<std::size_t>(k)]);
}

void show_status(ViewContext& v) {
  FindSession& s = session();
  if (!s.shown) return;
  if (DialogControl* c = platform::dialog_control(s.form, ID_FIND_STATUS))
    c->label = find_status(v);
  platform::modeless_show_values(s.form);
}

SearchOptions options_of(DialogForm& form) {
  SearchOptions o;
  DialogControl* readings = platform::dialog_control(form, ID_FIND_READINGS);
  DialogControl* kana = platform::dialog_control(form, ID_FIND_KANA);
  o.readings = readings && readings->checked;
  o.kana = kana && kana->checked;
  return o;
}

// --- the list of matches ---

void list_matches(ViewContext& v) {
  const std::vector<TextRange>& matches = v.viewport.highlights;
  if (matches.empty()) return;
  ModalScope modal(v);
  DialogForm form = places_list_form(FIND_LIST_TITLE, ID_FIND_MATCHES, 16, 56);
  DialogControl& list = form.controls[0];
  const int per = std::max(v.settings.page_lines, 1);
  for (std::size_t k = 0; k < matches.size() && k < FIND_LIST_MAX; ++k) {
    const TextRange& m = matches[k];
    list.items.push_back(std::to_string(m.line / per + 1) + "ページ  " +
                         narrow(match_context(v.doc, m, FIND_CONTEXT_CHARS)));
  }
  list.selected = std::clamp(session().current, 0, static_cast<int>(list.items.size()) - 1);
  DialogControl count;
  count.kind = platform::CONTROL_LABEL;
  count.label =
      std::to_string(matches.size()) + " 件" +
      (matches.size() > FIND_LIST_MAX ? "（最初の " + std::to_string(FIND_LIST_MAX) + " 件）" : "");
  form.controls.insert(form.controls.begin(), count);
  platform::DialogHooks hooks;
  hooks.accept = accept_list_row;
  if (platform::run_dialog(v.viewport.window, form, hooks) == 1) {
    go_to(v, platform::dialog_control(form, ID_FIND_MATCHES)->selected);
    show_status(v);
  }
  platform::window_focus(v.viewport.window);
}

// --- the window's hooks ---

void on_changed(DialogForm& form, int, void* context) {
  auto& v = *static_cast<ViewContext*>(context);
  const DialogControl* edit = platform::dialog_control(form, ID_FIND_TEXT);
  find_text(v, edit ? pattern_of(edit->text) : u"", options_of(form));
  show_status(v);
}

void on_button(DialogForm&, int id, void* context) {
  auto& v = *static_cast<ViewContext*>(context);
  if (id == ID_FIND_LIST) {
    list_matches(v);
    return;
  }
  find_again(v, id == ID_FIND_PREVIOUS ? -1 : 1);
  show_status(v);
}

void on_again(DialogForm&, int shift, void* context) {
  auto& v = *static_cast<ViewContext*>(context);
  find_again(v, shift ? -1 : 1);
  show_status(v);
}

// The view stays where the search left it; the matches are no longer marked.
void on_closed(DialogForm&, void* context) {
  FindSession& s = session();
  s.shown = 0;
  s.current = -1;
  auto& v = *static_cast<ViewContext*>(context);
  v.viewport.highlights.clear();
  v.viewport.current_highlight = -1;
  repaint(v);
  platform::window_focus(v.viewport.window);
}

DialogControl control(platform::ControlKind kind, int id, const char* label, int same_row = 0) {
  DialogControl c;
  c.kind = kind;
  c.id = id;
  c.label = label;
  c.same_row = same_row;
  return c;
}

void open_window(ViewContext& v) {
  FindSession& s = session();
  s.view = &v;
  if (!s.shown) {
    DialogForm& f = s.form;
    f = DialogForm{};
    f.title = FIND_WINDOW_TITLE;
    f.ok_label = "次を検索(&N)";
    f.cancel_label = "閉じる";
    DialogControl text = control(platform::CONTROL_EDIT, ID_FIND_TEXT, "");
    text.text = narrow(s.text);
    text.max_chars = FIND_TEXT_MAX_UNITS;
    DialogControl readings = control(platform::CONTROL_CHECK, ID_FIND_READINGS, "ルビの読みも(&Y)");
    readings.checked = s.options.readings;
    DialogControl kana =
        control(platform::CONTROL_CHECK, ID_FIND_KANA, "ひらがなとカタカナを区別しない(&K)");
    kana.checked = s.options.kana;
    f.controls = {control(platform::CONTROL_LABEL, 0, "検索する文字列(&F):"),
                  text,
                  readings,
                  kana,
                  control(platform::CONTROL_LABEL, ID_FIND_STATUS, ""),
                  control(platform::CONTROL_BUTTON, ID_FIND_PREVIOUS, "前を検索(&P)"),
                  control(platform::CONTROL_BUTTON, ID_FIND_LIST, "一覧(&L)...", 1)};
    f.controls[4].label = find_status(v);
    s.hooks.changed = on_changed;
    s.hooks.button = on_button;
    s.hooks.again = on_again;
    s.hooks.closed = on_closed;
  }
  s.hooks.context = &v;
  if (platform::modeless_open(v.viewport.window, s.form, s.hooks) == 1) s.shown = 1;
}

}  // namespace

int find_text(ViewContext& v, const std::u16string& text, const SearchOptions& options) {
  FindSession& s = session();
  s.text = text.substr(0, FIND_TEXT_MAX_UNITS);
  s.options = options;
  s.wrapped = 0;
  std::vector<TextRange>& matches = v.viewport.highlights;
  if (s.text.empty() || !v.doc.loaded) {
    matches.clear();
    s.current = v.viewport.current_highlight = -1;
    repaint(v);
    return 0;
  }
  lay_out_through(v, -1);
  matches = find_all(v.doc, make_search_pattern(s.text, options));
  go_to(v, match_from(matches, v.viewport.top_line, 0, 1, nullptr));
  repaint(v);
  return static_cast<int>(matches.size());
}

int find_again(ViewContext& v, int direction) {
  FindSession& s = session();
  const std::vector<TextRange>& matches = v.viewport.highlights;
  if (matches.empty()) return 0;
  int line = v.viewport.top_line, index = 0;
  if (s.current >= 0 && s.current < static_cast<int>(matches.size())) {
    line = matches[static_cast<std::size_t>(s.current)].line;
    index = matches[static_cast<std::size_t>(s.current)].index + (direction > 0 ? 1 : 0);
  } else if (direction < 0) {
    index = 0;
  }
  int wrapped = 0;
  go_to(v, match_from(matches, line, index, direction, &wrapped));
  s.wrapped = wrapped ? direction : 0;
  return wrapped ? 2 : 1;
}

const std::u16string& find_pattern_text() {
  return session().text;
}

int current_match(const ViewContext& v) {
  const int k = session().current;
  return k >= 0 && k < static_cast<int>(v.viewport.highlights.size()) ? k : -1;
}

std::string find_status(const ViewContext& v) {
  const FindSession& s = session();
  if (s.text.empty()) return "";
  const int count = static_cast<int>(v.viewport.highlights.size());
  if (count == 0) return FIND_NOTHING;
  std::string status = std::to_string(current_match(v) + 1) + " / " + std::to_string(count);
  if (s.wrapped > 0) status += "  " + std::string(FIND_WRAPPED_TO_START);
  if (s.wrapped < 0) status += "  " + std::string(FIND_WRAPPED_TO_END);
  return status;
}

void refresh_matches(ViewContext& v) {
  FindSession& s = session();
  if (s.text.empty() || !v.doc.loaded) return;
  lay_out_through(v, -1);
  v.viewport.highlights = find_all(v.doc, make_search_pattern(s.text, s.options));
  s.current = v.viewport.current_highlight =
      match_from(v.viewport.highlights, v.viewport.top_line, 0, 1, nullptr);
}

void reset_find(ViewContext& v) {
  platform::modeless_close();
  FindSession& s = session();
  s.text.clear();
  s.options = SearchOptions{};
  s.current = -1;
  s.wrapped = 0;
  v.viewport.highlights.clear();
  v.viewport.current_highlight = -1;
}

void cmd_find(ViewContext& v, int) {
  open_window(v);
}

// F3 and Shift+F3: the next or previous match, the window shown; with
// nothing searched yet, the window opens.
void cmd_find_again(ViewContext& v, int number) {
  open_window(v);
  if (session().text.empty()) return;
  // The window was closed since: its matches are found again, from the top line.
  if (v.viewport.highlights.empty()) {
    refresh_matches(v);
    session().current = -1;
  }
  find_again(v, number == CMD_FIND_PREVIOUS ? -1 : 1);
  show_status(v);
}

void cmd_find_list(ViewContext& v, int) {
  if (v.viewport.highlights.empty()) {
    open_window(v);
    return;
  }
  list_matches(v);
}

}  // namespace yomite
