#pragma once
// The program names C:\ZUNO\ZUNO.CFG, C:\ZUNO\ and COM1/COM2; they live under a prefix
// folder ($ZUNO_PREFIX, else ~/.zuno): drive_c/ and dosdevices/com1|com2.
#include <QString>

namespace platform {

QString prefix();
// Makes drive_c/ZUNO/ and the COM links on first use, and registers the components
// found beside the executable.
void preparePrefix();
// C:\... resolves under drive_c (existing names matched without regard to case);
// any other path is used as it stands.
QString resolvePath(const QString& programPath);
// Device path of COM1 or COM2: <prefix>/dosdevices/comN.
QString comDevice(int port);

}  // namespace platform
