// The notation of the markup vector files (markup.tests, notation.tests):
// fields, codes and annotation entries written as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/view_context.h"

namespace yomite::test {

// The fields of a vector line, parted by " | ".
std::vector<std::string> split_fields(const std::string& line);

std::u16string to_utf16(const std::string& s);
std::string to_utf8(const char16_t* s);

// Codes as the vector files write them: "." plain, "-" continuation, rN ruby
// entry N, nN note entry N, else the number; "~" for none; ".*" when
// `expect_all_plain` and every code is plain.
std::string code_tokens(const std::uint16_t* codes, int n, int expect_all_plain);

// Every annotation entry made: "rN=reading nN=note nN=^link", or "~".
std::string entry_tokens(const ViewContext& view);

// "key=N" in an options field, or `fallback`.
int option_value(const std::string& options, const std::string& key, int fallback);

}  // namespace yomite::test
