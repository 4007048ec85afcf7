// Bookmarks: the prompt, the dialog and the commands.
#include "viewer/bookmarks.h"

#include <ctime>

#include "decode/decode.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "settings/history.h"
#include "settings/settings.h"
#include "view/modal.h"
#include "viewer/command_handlers.h"
#include "viewer/dialogs.h"
#include "viewer/place.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

using platform::DialogControl;
using platform::DialogForm;

constexpr const char* CANCEL_LABEL = "ｷｬﾝｾﾙ";

std::vector<Bookmark>& cached() {
  static std::vector<Bookmark> marks;
  return marks;
}

std::string path() {
  return bookmarks_path(settings_path());
}

std::string when(long long time) {
  const std::time_t t = static_cast<std::time_t>(time);
  const std::tm* local = std::localtime(&t);
  if (!local) return "";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
  return text;
}

// --- the prompt ---

int prompt_for_name(ViewContext& v, std::string& name) {
  DialogForm form;
  form.title = BOOKMARK_PROMPT_TITLE;
  form.cancel_label = CANCEL_LABEL;
  DialogControl label;
  label.kind = platform::CONTROL_LABEL;
  label.label = "しおりの名前(&N):";
  DialogControl edit;
  edit.id = ID_BOOKMARK_NAME;
  edit.kind = platform::CONTROL_EDIT;
  edit.text = name;
  edit.max_chars = BOOKMARK_NAME_MAX_CHARS;
  form.controls = {label, edit};
  if (platform::run_dialog(v.viewport.window, form, platform::DialogHooks{}) != 1) return 0;
  name = platform::dialog_control(form, ID_BOOKMARK_NAME)->text;
  return 1;
}

// --- the dialog ---

struct ListCall {
  ViewContext* view;
  std::vector<Bookmark> marks;
};

void fill_rows(ListCall& call, DialogControl& list) {
  list.items.clear();
  for (const Bookmark& m : call.marks) list.items.push_back(bookmark_row(*call.view, m));
  if (list.selected >= static_cast<int>(list.items.size()))
    list.selected = static_cast<int>(list.items.size()) - 1;
}

void on_list_button(DialogForm& form, int id, void* context) {
  auto& call = *static_cast<ListCall*>(context);
  DialogControl* list = platform::dialog_control(form, ID_BOOKMARK_LIST);
  if (!list || list->selected < 0 || list->selected >= static_cast<int>(call.marks.size())) return;
  const Bookmark mark = call.marks[static_cast<std::size_t>(list->selected)];
  ViewContext& v = *call.view;
  const std::string& file = history_name(v);
  int ok = 1;
  if (id == ID_BOOKMARK_RENAME) {
    std::string name = mark.name;
    if (!prompt_for_name(v, name)) return;
    ok = rename_bookmark(path(), file, mark, name);
  } else if (id == ID_BOOKMARK_DELETE) {
    ok = remove_bookmark(path(), file, mark);
  } else {
    return;
  }
  if (!ok) platform::message_box(v.viewport.window, BOOKMARK_FAILED, "Yomite");
  call.marks = read_bookmarks(path(), file);
  cached() = call.marks;
  fill_rows(call, *list);
}

DialogControl button(int id, const char* label) {
  DialogControl c;
  c.id = id;
  c.kind = platform::CONTROL_BUTTON;
  c.label = label;
  c.same_row = 1;
  return c;
}

}  // namespace

const std::vector<Bookmark>& file_bookmarks() {
  return cached();
}

void reload_bookmarks(const ViewContext& v) {
  const std::string& file = history_name(v);
  cached() = file.empty() ? std::vector<Bookmark>{} : read_bookmarks(path(), file);
}

std::string default_bookmark_name(const ViewContext& v) {
  std::u16string words = excerpt_at(v.doc, v.viewport.top_line, 0, BOOKMARK_DEFAULT_NAME_CHARS);
  // A sentence that ends soon after a few words ends the name there.
  const std::size_t stop = words.find(u'。', BOOKMARK_NAME_WORDS_MIN);
  if (stop != std::u16string::npos) words.resize(stop + 1);
  return utf16_to_utf8(words.data(), words.size());
}

int add_bookmark_here(ViewContext& v, const std::string& name) {
  Bookmark mark;
  mark.place = anchor_at(v.doc, v.viewport.top_line);
  if (mark.place.logical < 0) return 0;
  mark.time = static_cast<long long>(std::time(nullptr));
  mark.name = name.empty() ? default_bookmark_name(v) : name;
  const int ok = add_bookmark(path(), history_name(v), mark);
  reload_bookmarks(v);
  return ok;
}

int bookmark_line(ViewContext& v, const Bookmark& mark) {
  return find_anchor_line(v, mark.place, 0);
}

std::string bookmark_row(ViewContext& v, const Bookmark& mark) {
  const int line = bookmark_line(v, mark);
  const std::string page =
      line < 0 ? "(なし)"
               : std::to_string(line / std::max(v.settings.page_lines, 1) + 1) + "ページ";
  const std::u16string& words = mark.place.excerpt;
  return mark.name + "  " + page + "  " + when(mark.time) + "  " +
         utf16_to_utf8(words.data(), words.size());
}

void cmd_add_bookmark(ViewContext& v, int) {
  ModalScope modal(v);
  std::string name = default_bookmark_name(v);
  if (!prompt_for_name(v, name)) {
    platform::window_focus(v.viewport.window);
    return;
  }
  if (!add_bookmark_here(v, name))
    platform::message_box(v.viewport.window, BOOKMARK_FAILED, "Yomite");
  platform::window_focus(v.viewport.window);
}

void cmd_bookmarks(ViewContext& v, int) {
  ModalScope modal(v);
  ListCall call{&v, read_bookmarks(path(), history_name(v))};
  cached() = call.marks;
  DialogForm form = places_list_form(BOOKMARKS_TITLE, ID_BOOKMARK_LIST, 12, 60);
  DialogControl& list = form.controls[0];
  list.selected = call.marks.empty() ? -1 : 0;
  fill_rows(call, list);
  form.controls.push_back(button(ID_BOOKMARK_RENAME, "名前の変更(&R)..."));
  form.controls.push_back(button(ID_BOOKMARK_DELETE, "削除(&D)"));
  form.controls[1].same_row = 0;
  platform::DialogHooks hooks;
  hooks.accept = accept_list_row;
  hooks.button = on_list_button;
  hooks.context = &call;
  if (platform::run_dialog(v.viewport.window, form, hooks) == 1) {
    const int k = platform::dialog_control(form, ID_BOOKMARK_LIST)->selected;
    const int line = k >= 0 && k < static_cast<int>(call.marks.size())
                         ? bookmark_line(v, call.marks[static_cast<std::size_t>(k)])
                         : -1;
    if (line >= 0) {
      jump_to(v, line);
      // A relayout goes on from the bookmark's own place.
      v.viewport.top_place = KeptPlace{call.marks[static_cast<std::size_t>(k)].place, line};
    }
  }
  platform::window_focus(v.viewport.window);
}

}  // namespace yomite
