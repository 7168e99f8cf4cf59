#include "platform/paths.h"

#include "platform/component.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString prefix() {
    const QString env = qEnvironmentVariable("ZUNO_PREFIX");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    return QDir::homePath() + QStringLiteral("/.zuno");
}

static void linkPort(const QString& link, const QString& target) {
    QFileInfo info(link);
    if (info.exists() || info.isSymLink()) return;
    QFile::link(target, link);
}

void preparePrefix() {
    const QString root = prefix();
    QDir().mkpath(root + QStringLiteral("/drive_c/ZUNO"));
    QDir().mkpath(root + QStringLiteral("/dosdevices"));
    linkPort(comDevice(1), QStringLiteral("/dev/ttyS0"));
    linkPort(comDevice(2), QStringLiteral("/dev/ttyS1"));
    // As an installer would: the component libraries shipped beside the program.
    platform::registerComponentsBesideExecutable();
}

// Finds each component of a relative path below base, matching case only where the
// exact name is missing.
static QString matchCase(const QString& base, const QStringList& parts) {
    QString path = base;
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QStringLiteral(".")) continue;
        const QString exact = path + '/' + part;
        if (QFileInfo::exists(exact) || part == QStringLiteral("..")) {
            path = exact;
            continue;
        }
        QString found;
        const QStringList entries =
            QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& e : entries)
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        path += '/' + (found.isEmpty() ? part : found);
    }
    return path;
}

QString resolvePath(const QString& programPath) {
    QString p = programPath;
    if (p.size() >= 2 && p[1] == ':' && p[0].toUpper() == 'C') {
        p = p.mid(2).replace('\\', '/');
        return matchCase(prefix() + QStringLiteral("/drive_c"), p.split('/'));
    }
    return programPath;
}

QString comDevice(int port) {
    return prefix() + QStringLiteral("/dosdevices/com") + QString::number(port);
}

}  // namespace platform
