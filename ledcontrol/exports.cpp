// The four entry points of the library: registration, the class factory and whether
// the library is still in use. Everything else in the library stays hidden.
#include <dlfcn.h>

#include <QFileInfo>

#include "ledcontrol/vantaledctl.h"

#define VANTALED_EXPORT extern "C" __attribute__((visibility("default")))

using platform::Status;

VANTALED_EXPORT int DllRegisterServer();

namespace {

// The file this library was loaded from.
QString libraryPath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname) return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

}  // namespace

VANTALED_EXPORT int DllRegisterServer() {
    const QString path = libraryPath();
    if (path.isEmpty()) return int(Status::Failed);
    const platform::Registration entry{QString::fromLatin1(vantaled::kProgId),
                                       QString::fromLatin1(vantaled::kClassId), path};
    return int(platform::registerClass(entry) ? Status::Ok : Status::Failed);
}

VANTALED_EXPORT int DllUnregisterServer() {
    return int(platform::unregisterClass(QString::fromLatin1(vantaled::kProgId)) ? Status::Ok
                                                                                 : Status::Failed);
}

VANTALED_EXPORT int DllGetClassObject(const char* classId, const char* interfaceId, void** object) {
    if (!object) return int(Status::Failed);
    *object = nullptr;
    if (!classId || qstricmp(classId, vantaled::kClassId) != 0) return int(Status::NotRegistered);
    if (!interfaceId || qstrcmp(interfaceId, platform::IID_IClassFactory) != 0)
        return int(Status::NoInterface);
    *object = static_cast<platform::IClassFactory*>(&vantaled::classFactory());
    return int(Status::Ok);
}

VANTALED_EXPORT int DllCanUnloadNow() {
    return int(vantaled::liveObjects() == 0 ? Status::Ok : Status::False);
}
