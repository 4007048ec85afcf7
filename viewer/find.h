// Finding things (an extension): the find window, incremental as the user
// types; the next and previous match (Enter and F3, Shift+F3), wrapping
// around with a notice; every match on the page highlighted; the list of
// every match with its page and context. `/`, F3 and the menu open it; Esc
// closes it and leaves the view where it is, its matches no longer marked
// (F3 finds them again). The search itself is viewer/search.h.
#pragma once

#include <string>

#include "view/view_context.h"
#include "viewer/search.h"

namespace yomite {

constexpr const char* FIND_WINDOW_TITLE = "Yomite 検索";
constexpr const char* FIND_LIST_TITLE = "Yomite 検索結果";

// Control ids of the find window and the list.
constexpr int ID_FIND_TEXT = 3000;
constexpr int ID_FIND_READINGS = 3001;
constexpr int ID_FIND_KANA = 3002;
constexpr int ID_FIND_PREVIOUS = 3003;
constexpr int ID_FIND_LIST = 3004;
constexpr int ID_FIND_STATUS = 3005;
constexpr int ID_FIND_MATCHES = 3006;

// Rows the list of matches holds at most, and characters of context each side.
constexpr int FIND_LIST_MAX = 2000;
constexpr int FIND_CONTEXT_CHARS = 12;

// What the status line of the find window says.
constexpr const char* FIND_NOTHING = "見つかりません";
constexpr const char* FIND_WRAPPED_TO_START = "先頭に戻りました";
constexpr const char* FIND_WRAPPED_TO_END = "末尾に戻りました";

// Searches for `text` with `options` from the top line on (the whole text
// laid out first) and goes to the first match there; the matches are
// highlighted. An empty text clears them. Returns how many there are.
int find_text(ViewContext& view, const std::u16string& text, const SearchOptions& options);

// The next (+1) or previous (-1) match from the current one (from the top
// line when none is current), wrapping around. 0 without matches, 1 when it
// went on, 2 when it wrapped.
int find_again(ViewContext& view, int direction);

// The text searched for last (empty: none).
const std::u16string& find_pattern_text();
// The current match's index (-1: none); the matches are view.viewport.highlights.
int current_match(const ViewContext& view);

// The find window's status line: "3 / 17", with a notice after a wrap.
std::string find_status(const ViewContext& view);

// After a relayout the matches are found again in the new lines, the
// current one the first at or after the top line.
void refresh_matches(ViewContext& view);

// Forgets the search and closes the window (a new document, tests).
void reset_find(ViewContext& view);

}  // namespace yomite
