#include "app/wiring.h"

#include "supervisor/zuno1.h"

void ConnectWindows() {}
