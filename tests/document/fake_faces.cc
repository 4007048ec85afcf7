// Test-local stand-in for the installed faces, so the markup tests need no
// font backend: a few faces are "installed", the rest fall back to the
// default Gothic face.
#include <string>

#include "layout/fonts.h"
#include "tests/document/fake_faces.h"

namespace yomite {

std::string last_face_list;

void find_installed_face(std::string& list) {
  last_face_list = list;
  bool vertical = !list.empty() && list[0] == '@';
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string face = list.substr(start, end - start);
    if (face == "@ＭＳ 明朝" || face == "ＭＳ 明朝" || face == "ＭＳ ゴシック") {
      list = face;
      return;
    }
    start = end + 1;
  }
  list = vertical ? "@ＭＳ ゴシック" : "ＭＳ ゴシック";
}

}  // namespace yomite
