// What other programs may ask of a viewer about the reader's place and
// finding things (extensions), as query codes below 100 of the bus method
// and the registered message (the standard answers only code 1). Each is
// answered with a number and a text (UTF-8).
//
//   50  top line          the first display line shown (from 0), as both
//   51  place             1; the text at the top: "LOGICAL,OFFSET,EXCERPT"
//   52  page              the page of the top line; "PAGE PAGES PERCENT"
//   53  pages             the number of pages (the whole text laid out first)
//   54  find TEXT         the matches of TEXT from the top line on (as the find
//                         window finds them; empty TEXT clears the search);
//                         "K/N LINE PAGE" of the match gone to (K from 1)
//   55  next match        1 went on, 2 wrapped, 0 none; the text as for 54
//   56  previous match    the same backwards
//   57  add bookmark NAME 1 when a bookmark was added at the top (NAME empty:
//                         the first words there)
//   58  bookmarks         how many the file has; one line each:
//                         "LINE<TAB>NAME" (LINE -1: its text is gone)
//   59  status            the progress text the strip shows ("12 / 340 (3 %)")
//   60  match             the number of matches; the text as for 54, nothing moves
#pragma once

#include "platform/messages.h"
#include "view/view_context.h"

namespace yomite {

constexpr int QUERY_TOP_LINE = 50;
constexpr int QUERY_PLACE = 51;
constexpr int QUERY_PAGE = 52;
constexpr int QUERY_PAGE_COUNT = 53;
constexpr int QUERY_FIND = 54;
constexpr int QUERY_FIND_NEXT = 55;
constexpr int QUERY_FIND_PREVIOUS = 56;
constexpr int QUERY_ADD_BOOKMARK = 57;
constexpr int QUERY_BOOKMARKS = 58;
constexpr int QUERY_STATUS = 59;
constexpr int QUERY_MATCH = 60;
// The codes that read the request's text (the bus methods Find and
// AddBookmark, or the sender window's title on Windows).
inline bool query_takes_text(int code) {
  return code == QUERY_FIND || code == QUERY_ADD_BOOKMARK;
}

// Answers one of the codes above (sending the text to `sender`) and returns
// the number; -1 for any other code, which is left unanswered.
int answer_reader_query(ViewContext& view, int code, platform::MessageSender* sender);

}  // namespace yomite
