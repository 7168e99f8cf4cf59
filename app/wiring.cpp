#include "app/wiring.h"

#include "supervisor/zuno1.h"

#if __has_include("records/logger.h") && defined(ZUNO_HAS_RECORDS)
#include "records/logger.h"
#define WITH_RECORDS 1
#endif
#if __has_include("displays/displays.h") && defined(ZUNO_HAS_DISPLAYS)
#include "displays/displays.h"
#define WITH_DISPLAYS 1
#endif

void ConnectWindows() {
#ifdef WITH_RECORDS
    InstallMinuteLogger();
#endif
#ifdef WITH_DISPLAYS
    InstallDisplayOpeners();
#endif
}
