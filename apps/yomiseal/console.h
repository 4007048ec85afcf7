// yomiseal's messages in the character set the user reads them in: the
// locale's on POSIX; on Windows UTF-16 to a console (WriteConsoleW), the
// system's code page to a pipe or a file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace yomite::seal {

// Writes a UTF-8 text in the user's character set.
void say(std::FILE* out, const char* utf8);
// Writes a file name as the user gave it (the locale's own bytes on POSIX,
// UTF-8 from the wide command line on Windows).
void say_bytes(std::FILE* out, const char* bytes, std::size_t n);

// POSIX: a UTF-8 text in `codeset` (an iconv name). Characters the codeset
// cannot hold leave the text as it is, in UTF-8.
std::string to_codeset(const std::string& utf8, const char* codeset);

// Windows: a UTF-8 text in `code_page`, under the same rule.
std::string to_code_page(const std::string& utf8, unsigned code_page);

}  // namespace yomite::seal
