#include "platform/clock.h"

namespace platform {

namespace {
QDateTime fixedTime;
}

QDateTime Now() {
    return fixedTime.isValid() ? fixedTime : QDateTime::currentDateTime();
}
void setNow(const QDateTime& fixed) {
    fixedTime = fixed;
}
void advanceNow(qint64 seconds) {
    fixedTime = Now().addSecs(seconds);
}

}  // namespace platform
