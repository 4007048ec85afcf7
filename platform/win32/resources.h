// Resource numbers of yomite.exe (apps/yomite/yomite.rc).
#pragma once

#define RESOURCE_ICON 100
