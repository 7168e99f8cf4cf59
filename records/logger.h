#pragma once
// The minute logger: once a minute, one record of every running cycle to its data file.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

// Sets ZUNO1::MinuteTick to RegistraMinuto.
void InstallMinuteLogger();

// The tick of Form1's Timer2. A file is never replaced; records that cannot be written
// wait in memory, in order, for a later tick, and the main window shows a warning
// naming the folder until they are written.
void RegistraMinuto();

namespace records {

// Forgets pending records and the files of running cycles (program start).
void ResetLogger();
// Records and headers still waiting for their folder, over all slots.
int PendingCount();
// Warning text for records waiting on the given folders (empty list: no warning).
QString LogWarningText(const QStringList& folders);

// How the logger puts bytes into an open file; returns the bytes written or -1.
// Tests replace it to act out a full disk. An empty function restores the default.
using WriteHook = std::function<qint64(QFile& file, const QByteArray& bytes)>;
void SetWriteHook(WriteHook hook);

}  // namespace records
