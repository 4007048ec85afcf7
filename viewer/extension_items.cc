// What the extensions' menu items do.
#include "viewer/commands.h"
#include "viewer/contents.h"
#include "viewer/scrolling.h"

namespace yomite {

int is_extension_item(int id) {
  return id == CMD_FULL_NOTATION || (id >= CMD_CONTENTS_FIRST && id <= CMD_CONTENTS_LAST);
}

void run_extension_item(ViewContext& v, int id) {
  if (!v.doc.loaded) return;
  if (id == CMD_FULL_NOTATION) {
    v.settings.full_notation = !v.settings.full_notation;
    reopen_document(v, 0);
    return;
  }
  const int line = contents_target_line(v, id);
  if (line >= 0) jump_to(v, line);
}

}  // namespace yomite
