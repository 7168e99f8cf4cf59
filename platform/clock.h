#pragma once
#include <QDateTime>
#include <functional>

namespace platform {

// Local date and time.
QDateTime Now();
// Tests set the clock; an invalid time restores the real one.
void setNow(const QDateTime& fixed);
void advanceNow(qint64 seconds);

}  // namespace platform
