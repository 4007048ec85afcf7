#include "settings/bookmarks_file.h"

#include <algorithm>
#include <tuple>

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "settings/anchor_text.h"
#include "settings/history.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "view/limits.h"

namespace yomite {

namespace {

constexpr const char* BOOK_SECTION = "Book";

bool book_order(const Bookmark& a, const Bookmark& b) {
  return std::tie(a.place.logical, a.place.offset, a.time) <
         std::tie(b.place.logical, b.place.offset, b.time);
}

bool same_mark(const Bookmark& a, const Bookmark& b) {
  return a.place.logical == b.place.logical && a.place.offset == b.place.offset && a.time == b.time;
}

std::string unquoted(const std::string& v) {
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
  return v;
}

// A path as the File value: quoted when reading would otherwise change it
// (blanks at either end are trimmed, and one pair of quotes is taken off).
std::string file_value(const std::string& path) {
  const bool blank_end =
      path.front() == ' ' || path.front() == '\t' || path.back() == ' ' || path.back() == '\t';
  return blank_end || unquoted(path) != path ? '"' + path + '"' : path;
}

long long parse_time(const std::string& text) {
  long long t = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    t = t * 10 + (c - '0');
    if (t > 253402300799LL) return 0;  // past the year 9999: no time we wrote
  }
  return t;
}

BookmarkBook* book_of(std::vector<BookmarkBook>& books, const std::string& file) {
  for (BookmarkBook& b : books)
    if (same_file(b.file, file)) return &b;
  return nullptr;
}

// What one update does to the file's books.
struct Edit {
  enum Kind { ADD, RENAME, REMOVE } kind;
  const std::string* file;
  const Bookmark* mark;
  const std::string* name;
  int done = 0;
};

void apply(Edit& e, std::vector<BookmarkBook>& books) {
  BookmarkBook* book = book_of(books, *e.file);
  if (e.kind == Edit::ADD) {
    if (!book) {
      books.push_back(BookmarkBook{*e.file, {}});
      book = &books.back();
    }
    if (static_cast<int>(book->marks.size()) >= BOOKMARKS_PER_FILE_MAX) return;
    Bookmark m = *e.mark;
    m.name = clean_bookmark_name(m.name);
    book->marks.insert(std::upper_bound(book->marks.begin(), book->marks.end(), m, book_order), m);
    e.done = 1;
    return;
  }
  if (!book) return;
  for (auto m = book->marks.begin(); m != book->marks.end(); ++m) {
    if (!same_mark(*m, *e.mark)) continue;
    if (e.kind == Edit::RENAME)
      m->name = clean_bookmark_name(*e.name);
    else
      book->marks.erase(m);
    e.done = 1;
    break;
  }
  // A file without bookmarks leaves the file.
  if (book->marks.empty()) books.erase(books.begin() + (book - books.data()));
}

int update(const std::string& current, std::string& replacement, void* context) {
  auto* e = static_cast<Edit*>(context);
  std::vector<BookmarkBook> books = parse_bookmarks(current);
  apply(*e, books);
  if (!e->done) return 0;
  replacement = platform::settings_file_bytes(format_bookmarks(books));
  // Never a file the next read would refuse.
  if (replacement.size() > SETTINGS_FILE_MAX_BYTES) {
    e->done = 0;
    return 0;
  }
  return 1;
}

int run(Edit& e, const std::string& path) {
  const int written =
      platform::update_file_atomically(path.c_str(), SETTINGS_FILE_MAX_BYTES, update, &e);
  if (!written || !e.done) return 0;
  platform::notify_settings_changed();
  return 1;
}

}  // namespace

std::string bookmarks_path(const std::string& settings_path) {
  return platform::directory_part(settings_path) + BOOKMARKS_FILE_NAME;
}

std::string clean_bookmark_name(const std::string& name) {
  std::string out;
  int chars = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    // A control character becomes a space and counts as a character, so the
    // limit holds after it too.
    const bool control = c < 0x20 || c == 0x7F;
    const bool starts_char = control || (c & 0xC0) != 0x80;
    if (starts_char && chars >= BOOKMARK_NAME_MAX_CHARS) break;
    if (starts_char) ++chars;
    out += control ? ' ' : static_cast<char>(c);
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::vector<BookmarkBook> parse_bookmarks(const std::string& text) {
  IniFile ini;
  ini_parse(text, ini);
  std::vector<BookmarkBook> books;
  BookmarkBook* book = nullptr;
  Bookmark* mark = nullptr;
  for (const IniLine& line : ini.lines) {
    if (line.kind == INI_SECTION) {
      mark = nullptr;
      book = nullptr;
      if (equal_ignoring_ascii_case(line.name, BOOK_SECTION)) {
        books.push_back(BookmarkBook{});
        book = &books.back();
      }
      continue;
    }
    if (line.kind != INI_PAIR || !book) continue;
    const std::string value = unquoted(line.value);
    if (equal_ignoring_ascii_case(line.name, "File")) {
      if (value.size() < static_cast<std::size_t>(platform::PATH_BYTES)) book->file = value;
    } else if (equal_ignoring_ascii_case(line.name, "Place")) {
      mark = nullptr;
      Bookmark m;
      if (static_cast<int>(book->marks.size()) < BOOKMARKS_PER_FILE_MAX &&
          parse_anchor(value, m.place)) {
        book->marks.push_back(m);
        mark = &book->marks.back();
      }
    } else if (mark && equal_ignoring_ascii_case(line.name, "Time")) {
      mark->time = parse_time(value);
    } else if (mark && equal_ignoring_ascii_case(line.name, "Name")) {
      mark->name = clean_bookmark_name(value);
    }
  }
  // A section without a file or without bookmarks names nothing; the same
  // file twice is one book.
  std::vector<BookmarkBook> out;
  for (BookmarkBook& b : books) {
    if (b.file.empty() || b.marks.empty()) continue;
    BookmarkBook* same = book_of(out, b.file);
    if (!same) {
      out.push_back(BookmarkBook{b.file, {}});
      same = &out.back();
    }
    for (Bookmark& m : b.marks)
      if (static_cast<int>(same->marks.size()) < BOOKMARKS_PER_FILE_MAX) same->marks.push_back(m);
  }
  for (BookmarkBook& b : out) std::stable_sort(b.marks.begin(), b.marks.end(), book_order);
  return out;
}

std::string format_bookmarks(const std::vector<BookmarkBook>& books) {
  std::string out;
  for (const BookmarkBook& b : books) {
    if (b.file.empty() || b.file.find_first_of("\r\n") != std::string::npos) continue;
    out += "[Book]\nFile=" + file_value(b.file) + "\n";
    for (const Bookmark& m : b.marks) {
      out += "Place=" + format_anchor(m.place) + "\n";
      out += "Time=" + std::to_string(m.time) + "\n";
      out += "Name=\"" + clean_bookmark_name(m.name) + "\"\n";
    }
  }
  return out;
}

std::vector<Bookmark> read_bookmarks(const std::string& path, const std::string& file) {
  std::string bytes;
  if (!platform::read_file_bytes(path.c_str(), bytes, SETTINGS_FILE_MAX_BYTES)) return {};
  std::vector<BookmarkBook> books = parse_bookmarks(bytes);
  BookmarkBook* book = book_of(books, file);
  return book ? book->marks : std::vector<Bookmark>{};
}

int add_bookmark(const std::string& path, const std::string& file, const Bookmark& mark) {
  if (file.empty() || mark.place.logical < 0) return 0;
  Edit e{Edit::ADD, &file, &mark, nullptr};
  return run(e, path);
}

int rename_bookmark(const std::string& path, const std::string& file, const Bookmark& mark,
                    const std::string& name) {
  Edit e{Edit::RENAME, &file, &mark, &name};
  return run(e, path);
}

int remove_bookmark(const std::string& path, const std::string& file, const Bookmark& mark) {
  Edit e{Edit::REMOVE, &file, &mark, nullptr};
  return run(e, path);
}

}  // namespace yomite
