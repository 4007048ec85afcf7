// Which installed family draws a face: the platform faces ("ＭＳ ゴシック",
// "ＭＳ 明朝" and their proportional forms) come with Windows in Japan but
// not with Wine or other Windows; the IPA fonts, then Noto CJK, stand in.
#pragma once

#include <string>
#include <vector>

namespace yomite::platform {

// Families that could draw `face` (no "@"), in order of preference: the face
// itself when it is installed, else its stand-ins, else the Gothic ones.
std::vector<std::string> candidate_families(const std::string& face);

// The first candidate that is installed, by the name the system lists it
// under (the face itself when none is).
std::string installed_family_for(const std::string& face);

// The family that draws `face` (no "@") and whether it stands in for it: the
// face itself when installed, by the name the system lists it under (a
// stand-in when that differs), else the first installed stand-in by the name
// it was asked by. GDI makes a font from any name of its family, so a
// stand-in is drawn without the whole list of families, which Wine reads by
// opening every face (most of a start-up's time there).
struct DrawingFamily {
  std::string name;
  bool stand_in = false;
};
DrawingFamily drawing_family_for(const std::string& face);

// 1 when EnumFontFamiliesEx knows the family (a leading "@" included).
int family_enumerated(const std::string& family);

}  // namespace yomite::platform
