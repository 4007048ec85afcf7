// The bookmarks file (an extension): BOOKMARK.INI beside the settings file,
// written as the settings file is (the same lock, a temporary file renamed
// over it, code page 932 on Windows when every character has a form there),
// so viewers writing at the same moment keep each other's bookmarks. Every
// write sends the settings-changed notice, on which every viewer reads it
// again. The format:
//
//   [Book]                          one section per file
//   File=/home/me/books/kokoro.txt  the file (as the history names it)
//   Place=120,0,私はその人を常に      a bookmark: its place (settings/anchor_text.h)
//   Time=1767225600                 when it was made (seconds since 1970, UTC)
//   Name="先生"                     its name, in double quotes
//
// Time and Name belong to the Place line before them. Lines the reader does
// not understand are left out when the file is written again; a Place that
// names no place is dropped.
#pragma once

#include <string>
#include <vector>

#include "view/line_origins.h"

namespace yomite {

constexpr const char* BOOKMARKS_FILE_NAME = "BOOKMARK.INI";
// Bookmarks one file keeps at most, and characters of a name.
constexpr int BOOKMARKS_PER_FILE_MAX = 1000;
constexpr int BOOKMARK_NAME_MAX_CHARS = 80;

struct Bookmark {
  TextAnchor place;
  long long time = 0;  // seconds since 1970 (UTC)
  std::string name;    // UTF-8, one line
};

// One file's bookmarks.
struct BookmarkBook {
  std::string file;
  std::vector<Bookmark> marks;  // in book order
};

// The bookmarks file beside the settings file at `settings_path`.
std::string bookmarks_path(const std::string& settings_path);

// The books of a bookmarks file's text, every value checked: names cut to
// their limit without control characters, at most BOOKMARKS_PER_FILE_MAX a
// file, each book's bookmarks in book order (place, then time).
std::vector<BookmarkBook> parse_bookmarks(const std::string& text);
// The text of `books` (UTF-8, LF), which parse_bookmarks reads back the same.
std::string format_bookmarks(const std::vector<BookmarkBook>& books);

// The bookmarks of `file` in the bookmarks file at `path` (none when it is
// missing or refused).
std::vector<Bookmark> read_bookmarks(const std::string& path, const std::string& file);

// Changes the file's bookmarks as one step under the file's lock (the file
// read again first, so other viewers' changes stay). 1 when written; 0 when
// the file could not be written, or the file already has
// BOOKMARKS_PER_FILE_MAX bookmarks (add), or there is no such bookmark
// (rename, remove: the same place and time).
int add_bookmark(const std::string& path, const std::string& file, const Bookmark& mark);
int rename_bookmark(const std::string& path, const std::string& file, const Bookmark& mark,
                    const std::string& name);
int remove_bookmark(const std::string& path, const std::string& file, const Bookmark& mark);

// A name as it is kept: one line, no control characters, at most
// BOOKMARK_NAME_MAX_CHARS characters, blanks at either end removed.
std::string clean_bookmark_name(const std::string& name);

}  // namespace yomite
