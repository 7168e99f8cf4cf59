#include "records/logger.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "platform/clock.h"
#include "platform/paths.h"
#include "records/datafile.h"
#include "supervisor/form1.h"
#include "supervisor/zuno1.h"

using namespace ZUNO1;

namespace records {

namespace {

struct Chunk {
    QByteArray bytes;
    QDateTime taken;
};

// One data file of a slot: the running cycle's, or an earlier one still owed records.
struct CycleFile {
    QString path;  // program path, as in DataFileName
    int model = 0;
    QString lot;
    bool onDisk = false;   // created, header written
    qint64 size = 0;       // bytes of ours in the file
    QList<Chunk> pending;  // in order; before creation the first starts with the header
};

struct SlotFiles {
    QList<CycleFile> files;
    bool recording = false;  // files.last() belongs to the running cycle
};

std::array<SlotFiles, kSlots + 1> state;
bool configDirty = false;
bool savingConfig = false;
WriteHook writeHook;

constexpr int kFirstLetter = 'A';
constexpr int kLastLetter = 'Z';
const QString kDefaultFolder = QStringLiteral("C:\\ZUNO\\");

int nextLetter(int letter) {
    return letter == kLastLetter ? kFirstLetter : letter + 1;
}

bool nameFree(const QString& programPath) {
    const QFileInfo info(platform::resolvePath(programPath));
    if (info.exists() || info.isSymLink()) return false;
    // A name given to a cycle whose file could not be created yet stays taken.
    for (const SlotFiles& s : state)
        for (const CycleFile& f : s.files)
            if (!f.onDisk && f.path.compare(programPath, Qt::CaseInsensitive) == 0) return false;
    return true;
}

// A free name in the data folder for a file created at `created`; FileLetter moves on
// from the letter used.
QString claimName(int slot, int model, const QDateTime& created) {
    const QString folder = DataPath.isEmpty() ? kDefaultFolder : DataPath;
    const int first = FileLetter[slot] >= kFirstLetter && FileLetter[slot] <= kLastLetter
                          ? FileLetter[slot]
                          : kFirstLetter;
    configDirty = true;
    int letter = first;
    for (int n = 0; n < 26; ++n, letter = nextLetter(letter)) {
        const QString path =
            joinDataPath(folder, dataFileBaseName(created, QChar(letter), slot, model));
        if (nameFree(path)) {
            FileLetter[slot] = Integer(nextLetter(letter));
            return path;
        }
    }
    // Every letter of the day is taken: the first letter with a number, "041210A1-2.KVS".
    FileLetter[slot] = Integer(nextLetter(first));
    const QString stem = dataFileBaseName(created, QChar(first), slot, NotInstalled);
    for (int n = 2;; ++n) {
        const QString path = joinDataPath(
            folder, stem + QLatin1Char('-') + QString::number(n) + fileExtension(model));
        if (nameFree(path)) return path;
    }
}

void showFileName(int slot, const CycleFile& f, bool current) {
    if (current) DataFileName[slot] = f.path;
    if (Form1::loaded()) Form1::get().Label6->setText(f.path);
}

qint64 writeBytes(QFile& file, const QByteArray& bytes) {
    return writeHook ? writeHook(file, bytes) : file.write(bytes);
}

bool exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The new file's name on the disk too; not every file system can sync a folder.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes what the file is owed, all or nothing; false leaves it owed.
bool writeOut(int slot, CycleFile& f, bool current) {
    if (f.pending.isEmpty()) return true;
    QString target = platform::resolvePath(f.path);
    if (f.onDisk && QFileInfo(QFileInfo(target).absolutePath()).isDir() && !exists(target)) {
        // Deleted under a running cycle: what is owed goes to a new file whose header
        // carries the time of its first record.
        const QDateTime created = f.pending.first().taken;
        f.onDisk = false;
        f.size = 0;
        f.path = claimName(slot, f.model, created);
        f.pending.first().bytes.prepend(headerBytes(slot, f.model, f.lot, created));
        showFileName(slot, f, current);
        target = platform::resolvePath(f.path);
    }
    if (!f.onDisk && exists(target)) {
        // Someone took the name while the folder refused the file.
        f.path = claimName(slot, f.model, f.pending.first().taken);
        showFileName(slot, f, current);
        target = platform::resolvePath(f.path);
    }

    QFile file(target);
    if (!f.onDisk) {
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) return false;
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return false;
        f.onDisk = true;
        f.size = 0;
    } else {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly |
                       QIODevice::Unbuffered))
            return false;
        // A write that failed half-way may have left part of a record behind.
        if (file.size() > f.size && !file.resize(f.size)) return false;
    }

    QByteArray bytes;
    for (const Chunk& c : f.pending) bytes += c.bytes;
    bool ok = writeBytes(file, bytes) == bytes.size() && ::fsync(file.handle()) == 0;
    if (ok) {
        file.unsetError();
        file.close();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok) {
        if (file.isOpen()) {
            file.resize(f.size);
            file.close();
        }
        return false;
    }
    if (f.size == 0) syncFolder(QFileInfo(target).absolutePath());
    f.size += bytes.size();
    f.pending.clear();
    return true;
}

void writeSlot(int slot) {
    SlotFiles& s = state[slot];
    for (qsizetype i = 0; i < s.files.size(); ++i) {
        const bool current = s.recording && i == s.files.size() - 1;
        writeOut(slot, s.files[i], current);
    }
    // Ended cycles whose records are all on disk are done with.
    for (qsizetype i = s.files.size() - 1; i >= 0; --i) {
        const bool current = s.recording && i == s.files.size() - 1;
        if (!current && s.files[i].pending.isEmpty()) s.files.removeAt(i);
    }
}

void endCycle(int slot) {
    state[slot].recording = false;
}

void updateWarning() {
    QStringList folders;
    for (const SlotFiles& s : state)
        for (const CycleFile& f : s.files)
            if (!f.pending.isEmpty() && !folders.contains(folderOf(f.path)))
                folders << folderOf(f.path);
    if (Form1::loaded()) Form1::get().setLogWarning(LogWarningText(folders));
}

void saveLetters() {
    if (savingConfig) return;  // a tick inside the message box of the save below
    savingConfig = true;
    while (configDirty) {
        configDirty = false;
        if (!GravaConfig()) break;  // the operator was told; the next new file tries again
    }
    configDirty = false;
    savingConfig = false;
}

// One slot's share of the tick.
void recordSlot(int slot) {
    const int model = InstalledModel[slot];
    if (model < KVS || model > GZONEO) {
        // Taken out of the installation: a model installed later starts its own file.
        LoggingActive[slot] = 0;
        endCycle(slot);
        return;
    }
    if (CycleStatus[slot] >= 4) {
        LoggingActive[slot] = 0;
        if (model == RT58HW) LogCountdown[slot] = 0;
        endCycle(slot);
        return;
    }
    if (model == RT58HW) {
        if (LogCountdown[slot] != 0) {
            --LogCountdown[slot];
            return;
        }
        LogCountdown[slot] = 9;
    }

    SlotFiles& s = state[slot];
    const QDateTime now = platform::Now();
    const Chunk record{recordBytes(recordValues(slot, model)), now};
    // A model installed anew under a running cycle starts a file of its own layout.
    if (LoggingActive[slot] == 0 || !s.recording || s.files.last().model != model) {
        endCycle(slot);
        CycleFile f;
        f.model = model;
        f.lot = LotRecord[slot];
        f.path = claimName(slot, model, now);
        f.pending.append({headerBytes(slot, model, f.lot, now) + record.bytes, now});
        s.files.append(f);
        s.recording = true;
        showFileName(slot, f, true);
        LoggingActive[slot] = 1;
    } else {
        s.files.last().pending.append(record);
    }
}

}  // namespace

void ResetLogger() {
    for (SlotFiles& s : state) s = SlotFiles{};
    configDirty = false;
}

int PendingCount() {
    int n = 0;
    for (const SlotFiles& s : state)
        for (const CycleFile& f : s.files) n += int(f.pending.size());
    return n;
}

QString LogWarningText(const QStringList& folders) {
    if (folders.isEmpty()) return {};
    const QString where =
        folders.size() == 1
            ? QStringLiteral("na pasta %1").arg(folders.first())
            : QStringLiteral("nas pastas %1").arg(folders.join(QStringLiteral(", ")));
    return QStringLiteral(
               "Atenção: os registros dos ciclos não puderam ser gravados %1. Eles estão "
               "guardados na memória e serão gravados assim que a pasta aceitar a gravação. "
               "Verifique a pasta e o disco.")
        .arg(where);
}

void SetWriteHook(WriteHook hook) {
    writeHook = std::move(hook);
}

}  // namespace records

void RegistraMinuto() {
    for (int slot = 1; slot <= ZUNO1::kSlots; ++slot) {
        records::recordSlot(slot);
        records::writeSlot(slot);
    }
    records::updateWarning();
    records::saveLetters();
}

void InstallMinuteLogger() {
    ZUNO1::MinuteTick = RegistraMinuto;
}
