// The bookmarks file reader over arbitrary bytes (an extension): whatever it
// reads is bounded and clean, and what it writes reads back the same.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/anchor_text.h"
#include "settings/bookmarks_file.h"

using yomite::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<BookmarkBook> books = parse_bookmarks(bytes);
  for (const BookmarkBook& b : books) {
    check(!b.file.empty() && !b.marks.empty());
    check(b.marks.size() <= static_cast<std::size_t>(BOOKMARKS_PER_FILE_MAX));
    for (const Bookmark& m : b.marks) {
      check(m.place.logical >= 0 && m.place.logical <= ANCHOR_LOGICAL_MAX);
      check(m.place.offset >= 0 && m.place.offset <= ANCHOR_OFFSET_MAX);
      check(m.place.excerpt.size() <= static_cast<std::size_t>(ANCHOR_EXCERPT_MAX));
      check(m.name == clean_bookmark_name(m.name));
      check(m.name.find_first_of("\r\n") == std::string::npos);
    }
  }
  // What is written reads back as it was, and writes the same again.
  const std::string text = format_bookmarks(books);
  check(format_bookmarks(parse_bookmarks(text)) == text);
  // Any text as a place: a place read is one a format gives back.
  TextAnchor a;
  if (parse_anchor(bytes, a)) {
    TextAnchor again;
    check(parse_anchor(format_anchor(a), again) == 1);
    check(again.logical == a.logical && again.offset == a.offset && again.excerpt == a.excerpt);
  }
  return 0;
}
