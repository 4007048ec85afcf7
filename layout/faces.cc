// Whether a face is installed, and the first installed face of a list.
#include "layout/fonts.h"
#include "trace/trace.h"

namespace yomite {

int face_exists(const std::string& face) {
  int found = platform::font_family_installed(face.c_str());
  trace("font %s %d  ", face.c_str(), found);
  return found;
}

void find_installed_face(std::string& list) {
  const bool vertical_fallback = list.empty() || list[0] == '@';
  const std::string names = list;
  list.clear();
  std::size_t start = 0;
  while (start <= names.size()) {
    std::size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    std::string piece = names.substr(start, end - start);
    if (!piece.empty() && face_exists(piece)) {
      list = piece;
      return;
    }
    start = end + 1;
  }
  list = vertical_fallback ? FACE_GOTHIC_VERTICAL : FACE_GOTHIC;
}

}  // namespace yomite
