// The numbers and menu labels of the reader's place and of finding things
// (extensions): the status strip, search, bookmarks. They lie outside every
// numbered range of the standard commands (100-139, 200-219) and the table
// of contents (1000-1999), so no standard number changes meaning, and other
// programs reach these features through their own queries
// (viewer/messages.h), never through these numbers.
#pragma once

namespace yomite {

// "位置を表示(&I)": the strip under the page (checked while shown).
constexpr int CMD_STATUS_STRIP = 2000;
// "検索(&Q)...\t/": the find window (also F3 while there is nothing to find again).
constexpr int CMD_FIND = 2001;
// F3 and Shift+F3: the next and the previous match.
constexpr int CMD_FIND_NEXT = 2002;
constexpr int CMD_FIND_PREVIOUS = 2003;
// "検索結果の一覧(&U)...": every match with its page and context.
constexpr int CMD_FIND_LIST = 2004;
// "しおりを挟む(&N)\tB": a bookmark at the first words shown, after a prompt for its name.
constexpr int CMD_ADD_BOOKMARK = 2005;
// "しおり一覧(&Y)...": the bookmarks of the file.
constexpr int CMD_BOOKMARKS = 2006;

constexpr const char* STATUS_STRIP_LABEL = "位置を表示(&I)";
constexpr const char* FIND_LABEL = "検索(&Q)...\t/";
constexpr const char* FIND_LIST_LABEL = "検索結果の一覧(&U)...";
constexpr const char* ADD_BOOKMARK_LABEL = "しおりを挟む(&N)\tB";
constexpr const char* BOOKMARKS_LABEL = "しおり一覧(&Y)...";

}  // namespace yomite
