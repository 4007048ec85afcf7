// Which families are installed, and which stand in for the platform faces.
#include <fontconfig/fontconfig.h>

#include <map>
#include <string>
#include <vector>

#include "platform/cairo/cairo_font.h"
#include "platform/shared/stand_in_faces.h"

namespace yomite::platform {

namespace {

// Family names compare without ASCII case and blanks: "IPA Gothic" is IPAGothic.
std::string family_key(const std::string& name) {
  std::string key;
  for (char c : name) {
    if (c == ' ' || c == '\t') continue;
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

struct Listed {
  int spacing = FC_PROPORTIONAL;  // the widest of its fonts
  std::string font;               // the key of its font's first name: one per family
};

// Every family value of every installed font (localized names included:
// "IPAGothic" and "IPAゴシック" are one family). Listed without
// substitution, so a name fontconfig would silently replace is not there.
const std::map<std::string, Listed>& installed() {
  static const std::map<std::string, Listed> families = [] {
    std::map<std::string, Listed> out;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
      int spacing = FC_PROPORTIONAL;
      FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing);
      FcChar8* name = nullptr;
      std::string first;
      for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch;
           ++n) {
        const std::string key = family_key(reinterpret_cast<char*>(name));
        if (n == 0) first = key;
        Listed& l = out.emplace(key, Listed{spacing, first}).first->second;
        if (spacing > l.spacing) l.spacing = spacing;
      }
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return out;
  }();
  return families;
}

// Characters no listed family has come from these, as the platform's font
// linking would supply them.
const std::vector<std::string> LAST_RESORT = {"Noto Sans CJK JP", "Noto Serif CJK JP", "IPAMincho"};

}  // namespace

bool family_listed(const std::string& family) {
  return installed().count(family_key(family)) != 0;
}

int family_fixed_pitch(const std::string& family) {
  auto it = installed().find(family_key(family));
  return it != installed().end() && it->second.spacing >= FC_DUAL ? 1 : 0;
}

bool same_family(const std::string& a, const std::string& b) {
  const std::string ka = family_key(a), kb = family_key(b);
  if (ka == kb) return true;
  auto ia = installed().find(ka), ib = installed().find(kb);
  return ia != installed().end() && ib != installed().end() && ia->second.font == ib->second.font;
}

std::vector<std::string> stand_in_families(const std::string& face) {
  std::vector<std::string> out;
  if (!stand_in_of(face) && family_listed(face)) out.push_back(face);
  for (const std::string& f : stand_in_families_of(face)) out.push_back(f);
  for (const std::string& f : LAST_RESORT) out.push_back(f);
  std::vector<std::string> unique;
  for (const std::string& f : out) {
    bool seen = false;
    for (const std::string& u : unique) seen = seen || family_key(u) == family_key(f);
    if (!seen && family_listed(f)) unique.push_back(f);
  }
  return unique;
}

int font_family_installed(const char* family) {
  std::string name = family[0] == '@' ? family + 1 : family;
  if (name.empty()) return 0;
  if (family_listed(name)) return 1;
  // A platform face counts as installed when one of its stand-ins is.
  if (const StandIn* s = stand_in_of(name))
    for (const std::string& f : s->families)
      if (family_listed(f)) return 1;
  return 0;
}

}  // namespace yomite::platform
