#include "ledcontrol/vantaledctl.h"

#include <QPointer>
#include <atomic>
#include <cmath>

#include "ledcontrol/vantaled.h"

namespace vantaled {

using platform::MemberKind;
using platform::Status;

namespace {

constexpr platform::MemberDesc kMembers[] = {
    {"Text", MemberKind::PropertyPut, platform::DISPID_TEXT, "String", "LED Display Text"},
    {"AutoResize", MemberKind::PropertyPut, platform::DISPID_AUTOSIZE, "Boolean",
     "Determines whether the control resizes itself to exactly fit its contents"},
    {"AboutBox", MemberKind::Method, platform::DISPID_ABOUTBOX, "", "Display About Box"},
    {"Refresh", MemberKind::Method, platform::DISPID_REFRESH, "",
     "Forces a complete repaint of control"},
    {"MousePointer", MemberKind::PropertyGet, platform::DISPID_MOUSEPOINTER, "Integer",
     "Returns/sets the type of mouse pointer displayed when over part of an object."},
    {"MousePointer", MemberKind::PropertyPut, platform::DISPID_MOUSEPOINTER, "Integer",
     "Returns/sets the type of mouse pointer displayed when over part of an object."},
    {"Text", MemberKind::PropertyGet, platform::DISPID_TEXT, "String", "LED Display Text"},
    {"AutoResize", MemberKind::PropertyGet, platform::DISPID_AUTOSIZE, "Boolean",
     "Determines whether the control resizes itself to exactly fit its contents"},
    {"LEDColour", MemberKind::PropertyGet, DISPID_LEDCOLOUR, "LEDColourConstants",
     "LED/LCD colour"},
    {"LEDColour", MemberKind::PropertyPut, DISPID_LEDCOLOUR, "LEDColourConstants",
     "LED/LCD colour"},
    {"Version", MemberKind::Method, DISPID_VERSION, "String", "Returns version information string"},
};

constexpr platform::ParamDesc kKeyParams[] = {{"KeyCode", "Integer"}, {"Shift", "Integer"}};
constexpr platform::ParamDesc kKeyPressParams[] = {{"KeyAscii", "Integer"}};
constexpr platform::ParamDesc kMouseParams[] = {
    {"Button", "Integer"}, {"Shift", "Integer"}, {"x", "Single"}, {"Y", "Single"}};

constexpr platform::EventDesc kEvents[] = {
    {"DblClick", platform::DISPID_DBLCLICK, {}, "Control was double clicked"},
    {"Click", platform::DISPID_CLICK, {}, "Control was clicked"},
    {"KeyUp", platform::DISPID_KEYUP, kKeyParams, ""},
    {"KeyPress", platform::DISPID_KEYPRESS, kKeyPressParams, ""},
    {"KeyDown", platform::DISPID_KEYDOWN, kKeyParams, ""},
    {"MouseDown", platform::DISPID_MOUSEDOWN, kMouseParams, ""},
    {"MouseMove", platform::DISPID_MOUSEMOVE, kMouseParams, ""},
    {"MouseUp", platform::DISPID_MOUSEUP, kMouseParams, ""},
};

constexpr platform::ConstantDesc kColours[] = {{"GreenLED", GreenLED}, {"OrangeLED", OrangeLED}};

const platform::ClassDesc kClass = {
    "VantaLEDCtl", "Vanta Software LED Control",
    "VantaLed",    kProgId,
    kClassId,      "_VantaLed",
    kMembers,      "__VantaLed",
    kEvents,       "LEDColourConstants",
    kColours,      "Emulates a Light Emitting Diode display",
    kProductName,  {kVersionMajor, kVersionMinor, kVersionRevision, 0},
};

std::atomic<int> live{0};

// One control as a host sees it. The widget may go first (destroyed with its parent).
class VantaLedObject final : public platform::IControl {
  public:
    explicit VantaLedObject(VantaLed* led) : led_(led) { objectCreated(); }

    QWidget* widget() override { return led_.data(); }

    Status get(int dispid, QVariant& value) override {
        if (!led_) return Status::ObjectGone;
        switch (dispid) {
            case platform::DISPID_TEXT:
                value = led_->Text();
                return Status::Ok;
            case platform::DISPID_AUTOSIZE:
                value = led_->AutoResize();
                return Status::Ok;
            case DISPID_LEDCOLOUR:
                value = led_->LEDColour();
                return Status::Ok;
            case platform::DISPID_MOUSEPOINTER:
                value = QVariant::fromValue<qint16>(led_->MousePointer());
                return Status::Ok;
            case DISPID_VERSION:
                value = VantaLed::Version();
                return Status::Ok;
        }
        return Status::MemberNotFound;
    }

    Status put(int dispid, const QVariant& value) override {
        if (!led_) return Status::ObjectGone;
        switch (dispid) {
            case platform::DISPID_TEXT:
                if (value.isValid() && !value.canConvert<QString>()) return Status::TypeMismatch;
                led_->setText(value.toString());
                return Status::Ok;
            case platform::DISPID_AUTOSIZE: {
                bool on = false;
                if (Status s = toBoolean(value, on); s != Status::Ok) return s;
                led_->setAutoResize(on);
                return Status::Ok;
            }
            case DISPID_LEDCOLOUR: {
                qint64 c = 0;
                // The byte's range is checked by the property itself.
                if (Status s = toWhole(value, INT64_MIN / 2, INT64_MAX / 2, c); s != Status::Ok)
                    return s;
                return led_->setLEDColour(c);
            }
            case platform::DISPID_MOUSEPOINTER: {
                qint64 code = 0;
                if (Status s = toWhole(value, INT16_MIN, INT16_MAX, code); s != Status::Ok)
                    return s;
                return led_->setMousePointer(int(code));
            }
        }
        return Status::MemberNotFound;
    }

    // The object may be released while AboutBox runs; nothing here is touched after.
    Status invoke(int dispid, QVariantList& args, QVariant& result) override {
        VantaLed* led = led_.data();
        if (!led) return Status::ObjectGone;
        switch (dispid) {
            case platform::DISPID_ABOUTBOX:
                if (!args.isEmpty()) return Status::BadArgCount;
                led->AboutBox();
                return Status::Ok;
            case platform::DISPID_REFRESH:
                if (!args.isEmpty()) return Status::BadArgCount;
                led->Refresh();
                return Status::Ok;
            case DISPID_VERSION:
                if (!args.isEmpty()) return Status::BadArgCount;
                result = VantaLed::Version();
                return Status::Ok;
        }
        return Status::MemberNotFound;
    }

    void advise(platform::EventHandler events, platform::PropertyChangedHandler changes) override {
        if (!led_) return;
        led_->setEventHandler(std::move(events));
        led_->setPropertyChangedHandler(std::move(changes));
    }

    Status readProperties(const platform::PropertyBag& bag) override {
        return led_ ? led_->ReadProperties(bag) : Status::ObjectGone;
    }

    platform::PropertyBag writeProperties() override {
        return led_ ? led_->WriteProperties() : platform::PropertyBag{};
    }

    QSize extent() override { return led_ ? led_->extent() : QSize(); }

    void setExtent(QSize twips) override {
        if (led_) led_->setExtent(twips);
    }

    // A widget inside one of its own handlers goes once that handler has returned.
    void release() override {
        if (VantaLed* led = led_.data()) {
            led->setEventHandler({});
            led->setPropertyChangedHandler({});
            if (led->busy()) {
                led->hide();
                led->deleteLater();
            } else {
                delete led;
            }
        }
        delete this;
    }

  private:
    ~VantaLedObject() { objectDestroyed(); }
    QPointer<VantaLed> led_;
};

class Factory final : public platform::IClassFactory {
  public:
    Status createInstance(QWidget* parent, platform::IControl** instance) override {
        if (!instance) return Status::Failed;
        *instance = new VantaLedObject(new VantaLed(parent));
        return Status::Ok;
    }
    const platform::ClassDesc& describe() override { return kClass; }
    void lockServer(bool lock) override {
        if (lock)
            objectCreated();
        else
            objectDestroyed();
    }
};

}  // namespace

Status toWhole(const QVariant& v, qint64 lo, qint64 hi, qint64& out) {
    bool ok = false;
    double d = 0;
    if (v.typeId() == QMetaType::Bool) {
        d = v.toBool() ? -1 : 0;
        ok = true;
    } else if (v.typeId() == QMetaType::QString) {
        d = v.toString().trimmed().toDouble(&ok);
    } else if (v.canConvert<double>()) {
        d = v.toDouble(&ok);
    }
    if (!ok || !std::isfinite(d)) return ok ? Status::Overflow : Status::TypeMismatch;
    d = std::nearbyint(d);
    if (d < double(lo) || d > double(hi)) return Status::Overflow;
    out = qint64(d);
    return Status::Ok;
}

Status toBoolean(const QVariant& v, bool& out) {
    if (v.typeId() == QMetaType::Bool) {
        out = v.toBool();
        return Status::Ok;
    }
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            out = true;
        else if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            out = false;
        else {
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (!ok) return Status::TypeMismatch;
            out = d != 0;
        }
        return Status::Ok;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok) return Status::TypeMismatch;
    out = d != 0;
    return Status::Ok;
}

QString versionNumber() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

const platform::ClassDesc& classDesc() {
    return kClass;
}

platform::IClassFactory& classFactory() {
    static Factory factory;
    return factory;
}

int liveObjects() {
    return live.load();
}
void objectCreated() {
    ++live;
}
void objectDestroyed() {
    --live;
}

}  // namespace vantaled
