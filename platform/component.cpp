// Compiled into the host (platform library) and into each component library, so it
// uses nothing of the platform but this file and keeps no state in memory but loaded
// library handles.
#include "platform/component.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QSettings>

namespace platform {

QString statusText(Status status) {
    switch (status) {
        case Status::Ok:
            return QStringLiteral("OK");
        case Status::False:
            return QStringLiteral("False");
        case Status::NotRegistered:
            return QStringLiteral("Class not registered");
        case Status::LoadFailed:
            return QStringLiteral("Component library cannot be loaded");
        case Status::NoInterface:
            return QStringLiteral("No such interface supported");
        case Status::MemberNotFound:
            return QStringLiteral("Object doesn't support this property or method");
        case Status::BadArgCount:
            return QStringLiteral("Wrong number of arguments");
        case Status::TypeMismatch:
            return QStringLiteral("Type mismatch");
        case Status::Overflow:
            return QStringLiteral("Overflow");
        case Status::InvalidValue:
            return QStringLiteral("Invalid property value");
        case Status::ObjectGone:
            return QStringLiteral("Object has been destroyed");
        case Status::Failed:
            break;
    }
    return QStringLiteral("Unspecified failure");
}

ComError::ComError(Status status)
    : std::runtime_error(statusText(status).toStdString()), status_(status) {}

// ---- Registry -------------------------------------------------------------------------

// Same rule as the program's prefix: $ZUNO_PREFIX, else ~/.zuno.
static QString prefixFolder() {
    const QString env = qEnvironmentVariable("ZUNO_PREFIX");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    return QDir::homePath() + QStringLiteral("/.zuno");
}

QString registryFile() {
    return prefixFolder() + QStringLiteral("/components.ini");
}

// One group per programmatic id, named by the id as registered.
static QString groupOf(QSettings& reg, const QString& progId) {
    const QStringList groups = reg.childGroups();
    for (const QString& g : groups)
        if (g.compare(progId, Qt::CaseInsensitive) == 0) return g;
    return {};
}

bool registerClass(const Registration& entry) {
    if (entry.progId.isEmpty() || entry.classId.isEmpty() || entry.library.isEmpty()) return false;
    QDir().mkpath(prefixFolder());
    QSettings reg(registryFile(), QSettings::IniFormat);
    const QString old = groupOf(reg, entry.progId);
    if (!old.isEmpty() && old != entry.progId) reg.remove(old);
    reg.beginGroup(entry.progId);
    if (reg.value("CLSID").toString() != entry.classId) reg.setValue("CLSID", entry.classId);
    if (reg.value("InprocServer").toString() != entry.library)
        reg.setValue("InprocServer", entry.library);
    reg.endGroup();
    reg.sync();
    return reg.status() == QSettings::NoError;
}

bool unregisterClass(const QString& progId) {
    QSettings reg(registryFile(), QSettings::IniFormat);
    const QString g = groupOf(reg, progId);
    if (g.isEmpty()) return true;
    reg.remove(g);
    reg.sync();
    return reg.status() == QSettings::NoError;
}

std::optional<Registration> lookupClass(const QString& progId) {
    if (!QFileInfo::exists(registryFile())) return std::nullopt;
    QSettings reg(registryFile(), QSettings::IniFormat);
    const QString g = groupOf(reg, progId);
    if (g.isEmpty()) return std::nullopt;
    reg.beginGroup(g);
    Registration r{g, reg.value("CLSID").toString(), reg.value("InprocServer").toString()};
    if (r.classId.isEmpty() || r.library.isEmpty()) return std::nullopt;
    return r;
}

// Libraries once loaded stay loaded: their code runs inside the host's widgets.
static QLibrary* loadLibrary(const QString& path, QString* error) {
    static QHash<QString, QLibrary*> loaded;
    if (QLibrary* lib = loaded.value(path)) return lib;
    auto* lib = new QLibrary(path);
    if (!lib->load()) {
        if (error) *error = lib->errorString();
        delete lib;
        return nullptr;
    }
    loaded.insert(path, lib);
    return lib;
}

static QString executableDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

// The component libraries an installation carries.
static const char* const kComponentLibraries[] = {"libvantaled.so"};

bool registerComponentsBesideExecutable() {
    const QString exe = executableDir();
    bool registered = false;
    for (const char* base : kComponentLibraries) {
        const QString name = QString::fromLatin1(base);
        for (const QString& dir : {exe + QStringLiteral("/../lib"), exe}) {
            const QDir d(QDir::cleanPath(dir));
            QStringList found = d.entryList({name + '*'}, QDir::Files, QDir::Name);
            if (found.isEmpty()) continue;
            // The soname link survives upgrades of the library file behind it.
            QString file = found.first();
            for (const QString& f : found)
                if (f.count('.') == name.count('.') + 1) file = f;
            QLibrary* lib = loadLibrary(d.absoluteFilePath(file), nullptr);
            auto fn = lib ? reinterpret_cast<DllRegisterServerFn>(lib->resolve("DllRegisterServer"))
                          : nullptr;
            if (fn && Status(fn()) == Status::Ok) {
                registered = true;
                break;
            }
        }
    }
    return registered;
}

// ---- Host side ------------------------------------------------------------------------

static void check(Status s) {
    if (s != Status::Ok) throw ComError(s);
}

Control::~Control() {
    instance_->release();
}

QWidget* Control::widget() const {
    return instance_->widget();
}

std::optional<int> Control::dispIdOf(const QString& name) const {
    for (const MemberDesc& m : desc_.members)
        if (name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0) return m.dispid;
    return std::nullopt;
}

QVariant Control::get(int dispid) const {
    QVariant v;
    check(instance_->get(dispid, v));
    return v;
}

void Control::put(int dispid, const QVariant& value) {
    check(instance_->put(dispid, value));
}

QVariant Control::invoke(int dispid, QVariantList args) {
    QVariant result;
    check(instance_->invoke(dispid, args, result));
    return result;
}

void Control::setEventSink(EventHandler events, PropertyChangedHandler changes) {
    instance_->advise(std::move(events), std::move(changes));
}

Status Control::readProperties(const PropertyBag& bag) {
    return instance_->readProperties(bag);
}

PropertyBag Control::writeProperties() const {
    return instance_->writeProperties();
}

QSize Control::extent() const {
    return instance_->extent();
}

void Control::setExtent(QSize twips) {
    instance_->setExtent(twips);
}

std::unique_ptr<Control> CreateObject(const QString& progId, QWidget* parent, QString* error) {
    auto fail = [&](const QString& why) -> std::unique_ptr<Control> {
        if (error) *error = progId + QStringLiteral(": ") + why;
        return nullptr;
    };
    const std::optional<Registration> reg = lookupClass(progId);
    if (!reg) return fail(statusText(Status::NotRegistered));
    QString why;
    QLibrary* lib = loadLibrary(reg->library, &why);
    if (!lib) return fail(statusText(Status::LoadFailed) + QStringLiteral(": ") + why);
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(lib->resolve("DllGetClassObject"));
    if (!getClassObject) return fail(statusText(Status::LoadFailed));
    void* object = nullptr;
    Status s =
        Status(getClassObject(reg->classId.toUtf8().constData(), IID_IClassFactory, &object));
    if (s != Status::Ok || !object) return fail(statusText(s == Status::Ok ? Status::Failed : s));
    auto* factory = static_cast<IClassFactory*>(object);
    IControl* instance = nullptr;
    s = factory->createInstance(parent, &instance);
    if (s != Status::Ok || !instance) return fail(statusText(s == Status::Ok ? Status::Failed : s));
    return std::make_unique<Control>(instance, factory->describe());
}

}  // namespace platform
