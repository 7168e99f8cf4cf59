#pragma once
// The type library VantaLEDCtl: the description of class VantaLed, its dispatch object
// and its class factory.
#include <QString>
#include <QVariant>

#include "platform/component.h"

namespace vantaled {

constexpr int kVersionMajor = VANTALED_VERSION_MAJOR;
constexpr int kVersionMinor = VANTALED_VERSION_MINOR;
constexpr int kVersionRevision = VANTALED_VERSION_PATCH;
constexpr const char* kProductName = "Vanta Software LED Control";
constexpr const char* kProgId = "VantaLEDCtl.VantaLed";
constexpr const char* kClassId = "{5E0C1A47-8D3B-4F2A-9B61-7C24D0E3A915}";

// Members the library numbers itself.
constexpr int DISPID_LEDCOLOUR = 1;
constexpr int DISPID_VERSION = 2;

// Values as a caller hands them over: numbers (or their text) are rounded to the
// nearest whole number, halves to even; TypeMismatch when not a number, Overflow
// outside lo..hi.
platform::Status toWhole(const QVariant& v, qint64 lo, qint64 hi, qint64& out);
// Booleans, numbers (non-zero is true) and the texts "True" and "False".
platform::Status toBoolean(const QVariant& v, bool& out);

// "1.0.0": major, minor and revision.
QString versionNumber();

const platform::ClassDesc& classDesc();
platform::IClassFactory& classFactory();

// Controls, dispatch objects and server locks alive; the library may be unloaded at 0.
int liveObjects();
void objectCreated();
void objectDestroyed();

}  // namespace vantaled
