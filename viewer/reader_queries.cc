// The answers to other programs about the place, the search and bookmarks.
#include "viewer/reader_queries.h"

#include <algorithm>

#include "decode/decode.h"
#include "settings/anchor_text.h"
#include "viewer/bookmarks.h"
#include "viewer/find.h"
#include "viewer/place.h"

namespace yomite {

namespace {

int page_of(const ViewContext& v, int line) {
  return line / std::max(v.settings.page_lines, 1) + 1;
}

// "K/N LINE PAGE" of the current match; "0/0" without one.
std::string match_text(const ViewContext& v) {
  const int k = current_match(v);
  const int n = static_cast<int>(v.viewport.highlights.size());
  if (k < 0) return "0/" + std::to_string(n);
  const int line = v.viewport.highlights[static_cast<std::size_t>(k)].line;
  return std::to_string(k + 1) + "/" + std::to_string(n) + " " + std::to_string(line) + " " +
         std::to_string(page_of(v, line));
}

int answer(platform::MessageSender* sender, int result, const std::string& text) {
  platform::send_text_to(sender, text);
  return result;
}

}  // namespace

int answer_reader_query(ViewContext& v, int code, platform::MessageSender* sender) {
  switch (code) {
    case QUERY_TOP_LINE:
      return answer(sender, v.viewport.top_line, std::to_string(v.viewport.top_line));
    case QUERY_PLACE:
      return answer(sender, 1, format_anchor(anchor_at(v.doc, v.viewport.top_line)));
    case QUERY_PAGE: {
      const Progress p = reading_progress(v);
      return answer(
          sender, p.page,
          std::to_string(p.page) + " " + std::to_string(p.pages) + " " + std::to_string(p.percent));
    }
    case QUERY_PAGE_COUNT: {
      lay_out_through(v, -1);
      const int pages = reading_progress(v).pages;
      return answer(sender, pages, std::to_string(pages));
    }
    case QUERY_FIND: {
      const int n =
          find_text(v, utf8_to_u16string(platform::sender_argument(sender)), SearchOptions{});
      return answer(sender, n, match_text(v));
    }
    case QUERY_FIND_NEXT:
    case QUERY_FIND_PREVIOUS: {
      const int moved = find_again(v, code == QUERY_FIND_NEXT ? 1 : -1);
      return answer(sender, moved, match_text(v));
    }
    case QUERY_ADD_BOOKMARK: {
      if (!v.doc.loaded) return answer(sender, 0, "");
      const int ok = add_bookmark_here(v, platform::sender_argument(sender));
      return answer(sender, ok, ok ? "1" : "0");
    }
    case QUERY_BOOKMARKS: {
      reload_bookmarks(v);
      std::string text;
      for (const Bookmark& m : file_bookmarks())
        text += std::to_string(v.doc.loaded ? bookmark_line(v, m) : -1) + "\t" + m.name + "\n";
      return answer(sender, static_cast<int>(file_bookmarks().size()), text);
    }
    case QUERY_STATUS:
      return answer(sender, 1, progress_text(v));
    case QUERY_MATCH:
      return answer(sender, static_cast<int>(v.viewport.highlights.size()), match_text(v));
    default:
      return -1;
  }
}

}  // namespace yomite
