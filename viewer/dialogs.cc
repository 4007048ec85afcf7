// The dialogs as data and what their answers do.
#include "viewer/dialogs.h"

#include <algorithm>
#include <climits>

#include "platform/choosers.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/process.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "view/modal.h"
#include "viewer/commands.h"
#include "viewer/contents.h"
#include "viewer/messages.h"
#include "viewer/place.h"
#include "viewer/window_fit.h"

#ifndef YOMITE_VERSION
#define YOMITE_VERSION "0"
#endif

namespace yomite {

namespace {

using platform::DialogControl;
using platform::DialogForm;

constexpr const char* CANCEL_LABEL = "ｷｬﾝｾﾙ";
constexpr const char* PROGRAM_TITLE = "Yomite";
constexpr const char* EDITOR_FAILED_CAPTION = "起動できません";

DialogControl label(const char* text, int same_row = 0) {
  DialogControl c;
  c.kind = platform::CONTROL_LABEL;
  c.label = text;
  c.same_row = same_row;
  return c;
}

DialogControl edit(int id, const std::string& text, int same_row = 1) {
  DialogControl c;
  c.id = id;
  c.kind = platform::CONTROL_EDIT;
  c.text = text;
  c.same_row = same_row;
  return c;
}

DialogControl check(int id, const char* text, int checked) {
  DialogControl c;
  c.id = id;
  c.kind = platform::CONTROL_CHECK;
  c.label = text;
  c.checked = checked ? 1 : 0;
  return c;
}

std::string text_of(DialogForm& form, int id) {
  DialogControl* c = platform::dialog_control(form, id);
  return c ? c->text : std::string();
}

int checked(DialogForm& form, int id) {
  DialogControl* c = platform::dialog_control(form, id);
  return c && c->checked ? 1 : 0;
}

// --- width ---

struct WidthAnswer {
  platform::Window* window = nullptr;
  int column_chars = 0, page_lines = 0;
};

int accept_width(DialogForm& form, void* context) {
  auto* answer = static_cast<WidthAnswer*>(context);
  const long long column = dialog_number(text_of(form, ID_WIDTH_COLUMN));
  const long long page = dialog_number(text_of(form, ID_WIDTH_PAGE));
  auto in_range = [](long long n) { return n >= WIDTH_DIALOG_MIN && n <= WIDTH_DIALOG_MAX; };
  if (!in_range(column) || !in_range(page)) {
    // It stays open; the user is told why (an extension).
    platform::message_box(answer->window, WIDTH_DIALOG_REFUSAL, "Yomite 文字数設定");
    return 0;
  }
  answer->column_chars = static_cast<int>(column);
  answer->page_lines = static_cast<int>(page);
  return 1;
}

// --- page jump ---

struct PageAnswer {
  int page = 0;
  int percent = -1;
};

// A place in percent, when one is typed, goes before the page.
int accept_page(DialogForm& form, void* context) {
  auto* answer = static_cast<PageAnswer*>(context);
  const std::string percent = text_of(form, ID_PAGE_PERCENT);
  if (percent.find_first_not_of(' ') != std::string::npos) {
    const long long p = dialog_number(percent);
    if (p < 0 || p > 100) return 0;
    answer->percent = static_cast<int>(p);
    return 1;
  }
  const long long page = dialog_number(text_of(form, ID_PAGE_NUMBER));
  if (page <= 0) return 0;
  answer->page = static_cast<int>(page);
  return 1;
}

// --- settings ---

void browse_program(DialogForm& form, int id, void* context) {
  if (id != ID_SETTINGS_BROWSE) return;
  std::string program;
  if (!choose_program(static_cast<ViewContext*>(context)->viewport.window, program)) return;
  if (DialogControl* c = platform::dialog_control(form, ID_SETTINGS_EDITOR)) c->text = program;
}

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

}  // namespace

DialogForm places_list_form(const char* title, int list_id, int rows, int width) {
  DialogForm form;
  form.title = title;
  form.ok_label = "移動(&G)";
  form.cancel_label = "閉じる";
  DialogControl list;
  list.id = list_id;
  list.kind = platform::CONTROL_LIST;
  list.list_rows = rows;
  list.list_width = width;
  form.controls = {list};
  return form;
}

int accept_list_row(DialogForm& form, void*) {
  for (const DialogControl& c : form.controls)
    if (c.kind == platform::CONTROL_LIST) return c.selected >= 0;
  return 0;
}

long long dialog_number(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  std::size_t end = text.find_last_not_of(' ');
  if (i == std::string::npos) return -1;
  long long n = 0;
  for (; i <= end; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    n = n * 10 + (text[i] - '0');
    if (n > INT_MAX) return -1;
  }
  return n;
}

void open_file_dialog(ViewContext& v) {
  ModalScope modal(v);
  // Everything the viewer opens comes first (archives open too: their first
  // text is shown), then the specified filters.
  const std::vector<platform::FileFilter> filters = {
      {"開けるファイル(*.txt;*.ymx;*.zip)", "*.txt;*.ymx;*.zip"},
      {"テキスト(*.txt;*.ymx)", "*.txt;*.ymx"},
      {"ﾌｧｲﾙ(*.*)", "*.*"},
      {"ZIP(*.zip)", "*.zip"},
  };
  // The shown file's folder (an archive's, not its unpacked copy's).
  const std::string& shown = v.doc.archive_name.empty() ? v.doc.file_name : v.doc.archive_name;
  std::string path;
  if (!platform::choose_file(v.viewport.window, PROGRAM_TITLE, filters,
                             platform::directory_part(shown), path))
    return;
  const int empty = v.doc.file_name.empty();
  if (launch_viewer(v, path, empty) && empty) platform::window_post_close(v.viewport.window);
}

std::vector<std::string> editor_arguments(const std::string& command, const std::string& file) {
  std::vector<std::string> args = split_platform_command_words(command);
  args.push_back(file);
  return args;
}

int launch_editor(ViewContext& v) {
  const std::string& command = editor_command(v);
  std::vector<std::string> args = split_platform_command_words(command);
  const bool started =
      !args.empty() && platform::start_program(editor_arguments(command, v.doc.file_name));
  if (started) return 1;
  // The message shows the command line as the user would type it.
  ModalScope modal(v);
  platform::message_box(v.viewport.window, command + " " + quoted(v.doc.file_name),
                        EDITOR_FAILED_CAPTION);
  return 0;
}

int width_dialog(ViewContext& v) {
  ModalScope modal(v);
  DialogForm form;
  form.title = "Yomite 文字数設定";
  form.cancel_label = CANCEL_LABEL;
  form.controls = {
      label("１行の文字数(半角単位)(&W):"),
      edit(ID_WIDTH_COLUMN, std::to_string(static_cast<unsigned>(v.settings.column_chars))),
      label("１ページの行数(&L):"),
      edit(ID_WIDTH_PAGE, std::to_string(static_cast<unsigned>(v.settings.page_lines))),
  };
  WidthAnswer answer;
  answer.window = v.viewport.window;
  platform::DialogHooks hooks;
  hooks.accept = accept_width;
  hooks.context = &answer;
  if (platform::run_dialog(v.viewport.window, form, hooks) != 1) return 0;
  v.settings.column_chars = answer.column_chars;
  v.settings.page_lines = answer.page_lines;
  return 1;
}

int page_jump_dialog(ViewContext& v, int page, int* percent) {
  ModalScope modal(v);
  DialogForm form;
  form.title = "ページ移動";
  form.cancel_label = CANCEL_LABEL;
  DialogControl number = edit(ID_PAGE_NUMBER, std::to_string(static_cast<unsigned>(page)));
  number.digits_only = 1;
  number.max_chars = PAGE_JUMP_DIGITS;
  DialogControl spin;
  spin.id = ID_PAGE_SPIN;
  spin.kind = platform::CONTROL_SPIN;
  spin.buddy = ID_PAGE_NUMBER;
  spin.spin_min = 1;
  spin.spin_max = PAGE_JUMP_MAX;
  spin.same_row = 1;
  DialogControl place = edit(ID_PAGE_PERCENT, "");
  place.digits_only = 1;
  place.max_chars = 3;
  // Extension: how many pages there are, and a place in percent.
  const Progress progress = reading_progress(v);
  const std::string pages = "/ " + grouped_number(progress.pages) + (progress.loading ? "…" : "");
  form.controls = {label("移動するページ番号(&P):"), number, spin,         label(pages.c_str(), 1),
                   label("または位置(&R):"),         place,  label("%", 1)};
  PageAnswer answer;
  platform::DialogHooks hooks;
  hooks.accept = accept_page;
  hooks.context = &answer;
  if (platform::run_dialog(v.viewport.window, form, hooks) != 1) return 0;
  if (answer.percent < 0) return answer.page;
  if (percent) *percent = answer.percent;
  return -1;
}

int settings_dialog(ViewContext& v) {
  ModalScope modal(v);
  v.settings.ruby_percent = clamp_ruby_percent(v.settings.ruby_percent);
  v.settings.font_smoothing = v.settings.font_smoothing ? 1 : 0;
  v.settings.justify = v.settings.justify ? 1 : 0;
  const int smoothing = v.settings.font_smoothing, justify = v.settings.justify,
            ruby = v.settings.ruby_percent;
  DialogForm form;
  form.title = "Yomite 設定";
  form.cancel_label = CANCEL_LABEL;
  DialogControl browse;
  browse.id = ID_SETTINGS_BROWSE;
  browse.kind = platform::CONTROL_BUTTON;
  browse.label = "参照(&R)";
  browse.same_row = 1;
  form.controls = {
      label("エディタ(&E):"),
      edit(ID_SETTINGS_EDITOR, editor_command(v)),
      browse,
      check(ID_SETTINGS_SMOOTHING, "フォントの縁をなめらかにする(&F)", smoothing),
      check(ID_SETTINGS_JUSTIFY, "ジャスティフィケーション(&J)", justify),
      label("ルビの大きさ(&P)"),
      edit(ID_SETTINGS_RUBY, std::to_string(static_cast<unsigned>(ruby))),
      label("%　(40%～80%)", 1),
      // Extensions.
      check(ID_SETTINGS_FULL_NOTATION, FULL_NOTATION_LABEL, v.settings.full_notation),
      check(ID_SETTINGS_BOOK_COMPOSITION, BOOK_COMPOSITION_LABEL, v.settings.book_composition),
      check(ID_SETTINGS_FIT_WINDOW, FIT_WINDOW_LABEL, v.settings.fit_window),
      check(ID_SETTINGS_KEEP_PLACE, KEEP_PLACE_LABEL, v.settings.keep_place),
  };
  platform::DialogHooks hooks;
  hooks.button = browse_program;
  hooks.context = &v;
  if (platform::run_dialog(v.viewport.window, form, hooks) != 1) return 0;
  const std::string editor = editor_command(v);
  editor_command(v) = text_of(form, ID_SETTINGS_EDITOR);
  v.settings.font_smoothing = checked(form, ID_SETTINGS_SMOOTHING);
  v.settings.justify = checked(form, ID_SETTINGS_JUSTIFY);
  // An empty or unreadable size counts as 0, which the range makes 40.
  v.settings.ruby_percent = clamp_ruby_percent(
      static_cast<int>(std::max(dialog_number(text_of(form, ID_SETTINGS_RUBY)), 0LL)));
  const int keep_place = checked(form, ID_SETTINGS_KEEP_PLACE);
  const int place_changed = keep_place != v.settings.keep_place;
  v.settings.keep_place = keep_place;
  const int full_notation = checked(form, ID_SETTINGS_FULL_NOTATION);
  const int book_composition = checked(form, ID_SETTINGS_BOOK_COMPOSITION);
  const int relayout =
      full_notation != v.settings.full_notation || book_composition != v.settings.book_composition;
  v.settings.full_notation = full_notation;
  v.settings.book_composition = book_composition;
  const int repaint = v.settings.font_smoothing != smoothing || v.settings.justify != justify ||
                      v.settings.ruby_percent != ruby || relayout;
  if (repaint) platform::window_invalidate(v.viewport.window, nullptr, 0);
  // A new editor command is written at once too: a viewer that reads the file
  // again on another one's notice must find it there.
  if (repaint || place_changed || editor_command(v) != editor) write_settings(v);
  // The extensions change the layout: the document is laid out again.
  if (relayout && v.doc.loaded) reopen_document(v, 0);
  const int fit = checked(form, ID_SETTINGS_FIT_WINDOW);
  if (fit != v.settings.fit_window) set_fit_to_window(v, fit);
  return 1;
}

void about_box(ViewContext& v) {
  ModalScope modal(v);
  DialogForm form;
  form.title = "Yomite バージョン情報";
  form.controls = {
      label("Yomite " YOMITE_VERSION),
      label("縦書きテキストビューア / a reader for Japanese plain-text books"),
      label("MIT License. Copyright (c) 2026 the Yomite authors."),
      label("設定ファイル: "),
  };
  // A '&' of the path is shown, not taken as a mnemonic.
  for (char c : settings_path()) form.controls.back().label += c == '&' ? "&&" : std::string(1, c);
  form.controls.push_back(label(platform::settings_file_rule()));
  platform::run_dialog(v.viewport.window, form, platform::DialogHooks{});
}

int choose_program(platform::Window* owner, std::string& out) {
  out.clear();
  std::string path;
  if (!platform::choose_program_file(owner, PROGRAM_TITLE, path)) return 0;
  out = path.find(' ') != std::string::npos ? quoted(path) : path;
  return 1;
}

}  // namespace yomite
