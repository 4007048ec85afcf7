#include "platform/win32/font_faces.h"

#include <map>
#include <vector>

#include "platform/font.h"
#include "platform/shared/stand_in_faces.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

namespace {

// A family as one enumeration answers it: its name, and its full name, which
// is the same whatever name the family was asked by.
struct Listed {
  std::string face;
  std::string full;
};

int CALLBACK note_found(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
  const auto* named = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
  reinterpret_cast<std::vector<Listed>*>(found)->push_back(
      {win32::narrow(font->lfFaceName), win32::narrow(named->elfFullName)});
  return 1;
}

// Every family EnumFontFamiliesEx answers for `face` ("" lists them all).
std::vector<Listed> enumerate(const std::wstring& face) {
  std::vector<Listed> found;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &query, note_found, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// What EnumFontFamiliesEx answers for `family` by name; asked once per name.
const std::vector<Listed>& answers_for(const std::string& family) {
  static std::map<std::string, std::vector<Listed>> known;
  auto it = known.find(family);
  if (it != known.end()) return it->second;
  const std::wstring name = win32::widen(family);
  std::vector<Listed> found;
  if (!name.empty() && name.size() < LF_FACESIZE) found = enumerate(name);
  return known.emplace(family, std::move(found)).first->second;
}

// The name the system lists `family` under, or "" when it is not installed.
// Windows and Wine list a family by its name in the user's language
// ("IPAゴシック" for IPAGothic on a Japanese desktop) and the font dialog
// selects only a name it lists, so a family known by another name is found
// in the whole list by its full name. Answered once per name.
const std::string& listed_name(const std::string& family) {
  static std::map<std::string, std::string> known;
  auto it = known.find(family);
  if (it != known.end()) return it->second;
  const std::vector<Listed>& asked = answers_for(family);
  std::string listed;
  if (!asked.empty()) {
    listed = family;
    // Wine opens every face to list them all: read once, and only when asked.
    static const std::vector<Listed> all = enumerate(L"");
    bool by_own_name = false;
    for (const Listed& l : all) by_own_name = by_own_name || l.face == family;
    for (std::size_t i = 0; i < all.size() && !by_own_name; ++i)
      if (all[i].full == asked[0].full) {
        listed = all[i].face;
        break;
      }
  }
  return known.emplace(family, listed).first->second;
}

}  // namespace

int family_enumerated(const std::string& family) {
  return answers_for(family).empty() ? 0 : 1;
}

std::vector<std::string> candidate_families(const std::string& face) {
  std::vector<std::string> out;
  if (family_enumerated(face)) out.push_back(face);
  for (const std::string& f : stand_in_families_of(face)) out.push_back(f);
  return out;
}

std::string installed_family_for(const std::string& face) {
  for (const std::string& f : candidate_families(face))
    if (family_enumerated(f)) return listed_name(f);
  return face;
}

DrawingFamily drawing_family_for(const std::string& face) {
  if (family_enumerated(face)) {
    const std::string& listed = listed_name(face);
    return {listed, listed != face};
  }
  for (const std::string& f : stand_in_families_of(face))
    if (family_enumerated(f)) return {f, true};
  return {face, false};
}

int font_family_installed(const char* family) {
  const std::string name = family[0] == '@' ? family + 1 : family;
  if (name.empty()) return 0;
  if (family_enumerated(name)) return 1;
  // A platform face counts as installed when one of its stand-ins is.
  if (const StandIn* s = stand_in_of(name))
    for (const std::string& f : s->families)
      if (family_enumerated(f)) return 1;
  return 0;
}

}  // namespace yomite::platform
