// Loading a document: the file named in the view becomes display lines.
#pragma once

#include "layout/fonts.h"
#include "viewer/view_context.h"

namespace yomite {

// Without a measuring context (dc null) this is the probe: it reads and
// resolves only the first kept line so that directives can fill settings.
// With one it is the full load: every line is laid out into view.lines.
void load_document(ViewContext& view, MeasureContext* dc);

}  // namespace yomite
