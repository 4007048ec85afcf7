// File-name patterns of the file chooser's filters as GTK globs.
#pragma once

#include <string>
#include <vector>

namespace yomite::platform {

// "*.txt;*.ymx" -> {"*.[tT][xX][tT]", "*.[yY][mM][xX]"}: GTK matches
// patterns with case, the filters mean them without. "*.*" matches every
// file ("*"); brackets, '?' and '*' keep their meaning.
std::vector<std::string> gtk_globs(const std::string& patterns);

}  // namespace yomite::platform
