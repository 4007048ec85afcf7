// Bookmarks (an extension): any number per file, each a place in the text
// with a name and a time, kept in the bookmarks file
// (settings/bookmarks_file.h). B adds one at the first words shown after a
// prompt for its name; the bookmarks dialog lists them in book order with
// their page and words, jumps to one (Enter or a double click), renames and
// deletes.
#pragma once

#include <string>
#include <vector>

#include "settings/bookmarks_file.h"
#include "view/view_context.h"

namespace yomite {

constexpr const char* BOOKMARK_PROMPT_TITLE = "Yomite しおり";
constexpr const char* BOOKMARKS_TITLE = "Yomite しおり一覧";
constexpr const char* BOOKMARK_FAILED = "しおりを保存できません";

// Control ids of the prompt and the list.
constexpr int ID_BOOKMARK_NAME = 3100;
constexpr int ID_BOOKMARK_LIST = 3101;
constexpr int ID_BOOKMARK_RENAME = 3102;
constexpr int ID_BOOKMARK_DELETE = 3103;

// Characters of the text at the place a new bookmark's name takes, and how
// many come before a full stop may end it.
constexpr int BOOKMARK_DEFAULT_NAME_CHARS = 20;
constexpr int BOOKMARK_NAME_WORDS_MIN = 8;

// The bookmarks of the shown file as this viewer last read them: at the
// open and on every settings-changed notice (any viewer's write).
const std::vector<Bookmark>& file_bookmarks();
void reload_bookmarks(const ViewContext& view);

// A bookmark at the first words shown, named `name` (empty: those words).
// 1 when it was written.
int add_bookmark_here(ViewContext& view, const std::string& name);

// What a new bookmark is called unless the user says otherwise: the text
// from the top line on, up to a full stop after its first few words.
std::string default_bookmark_name(const ViewContext& view);

// The display line bookmark `mark` stands on now (-1: its text is gone).
int bookmark_line(ViewContext& view, const Bookmark& mark);

// One row of the bookmarks dialog: name, page, time and words.
std::string bookmark_row(ViewContext& view, const Bookmark& mark);

}  // namespace yomite
