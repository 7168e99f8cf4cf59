// A host that knows the control only by its programmatic id: the library is found
// through the registry file of the prefix, never linked.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "platform/component.h"

using platform::Control;
using platform::Status;

namespace {

const QString kProgId = QStringLiteral("VantaLEDCtl.VantaLed");

// An empty prefix of its own, nothing registered yet.
class FreshPrefix {
  public:
    FreshPrefix() : previous_(qgetenv("ZUNO_PREFIX")) {
        qputenv("ZUNO_PREFIX", dir_.path().toLocal8Bit());
    }
    ~FreshPrefix() { qputenv("ZUNO_PREFIX", previous_); }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

class LedHost : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::registerComponentsBesideExecutable());
        window.resize(300, 100);
        window.show();
    }
    std::unique_ptr<Control> create() {
        QString why;
        auto c = platform::CreateObject(kProgId, &window, &why);
        EXPECT_TRUE(c) << why.toStdString();
        return c;
    }
    FreshPrefix prefix;
    QWidget window;
};

Status statusOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::ComError& e) {
        return e.status();
    }
    return Status::Ok;
}

}  // namespace

TEST(LedRegistry, TheProgrammaticIdLeadsToTheLibraryBesideTheExecutable) {
    FreshPrefix prefix;
    QWidget window;
    QString why;
    EXPECT_FALSE(platform::CreateObject(kProgId, &window, &why));
    EXPECT_TRUE(why.contains("not registered")) << why.toStdString();

    ASSERT_TRUE(platform::registerComponentsBesideExecutable());
    const auto reg = platform::lookupClass("vantaledctl.vantaled");
    ASSERT_TRUE(reg);
    EXPECT_EQ(reg->progId, kProgId);
    EXPECT_EQ(QFileInfo(reg->library).fileName(), "libvantaled.so.1");
    EXPECT_TRUE(platform::CreateObject(kProgId, &window));

    // The library's own entry points: unregistering removes the id again.
    QLibrary lib(reg->library);
    auto unregister =
        reinterpret_cast<platform::DllUnregisterServerFn>(lib.resolve("DllUnregisterServer"));
    ASSERT_TRUE(unregister);
    EXPECT_EQ(Status(unregister()), Status::Ok);
    EXPECT_FALSE(platform::lookupClass(kProgId));
    EXPECT_FALSE(platform::CreateObject(kProgId, &window));
}

TEST_F(LedHost, SetsTextThroughItsDispatchIdAndHearsAClick) {
    auto led = create();
    ASSERT_TRUE(led);
    QList<int> events;
    QStringList changed;
    led->setEventSink([&](int dispid, QVariantList& args) { events.append(dispid); },
                      [&](const QString& name) { changed.append(name); });
    led->widget()->setGeometry(10, 10, 155, 46);
    led->put(platform::DISPID_TEXT, "r 2.55");
    EXPECT_EQ(led->get(platform::DISPID_TEXT).toString(), "R 2.55");
    EXPECT_EQ(changed, QStringList{"Text"});
    EXPECT_EQ(led->widget()->parentWidget(), &window);

    QTest::mouseClick(led->widget(), Qt::LeftButton);
    EXPECT_EQ(events, (QList<int>{platform::DISPID_MOUSEDOWN, platform::DISPID_MOUSEUP,
                                  platform::DISPID_CLICK}));
}

TEST_F(LedHost, ReadsTheDescriptionOfTheClass) {
    auto led = create();
    ASSERT_TRUE(led);
    const platform::ClassDesc& d = led->description();
    EXPECT_STREQ(d.typeLibrary, "VantaLEDCtl");
    EXPECT_STREQ(d.typeLibraryHelp, "Vanta Software LED Control");
    EXPECT_STREQ(d.className, "VantaLed");
    EXPECT_STREQ(d.interfaceName, "_VantaLed");
    EXPECT_STREQ(d.eventInterfaceName, "__VantaLed");
    EXPECT_STREQ(d.description, "Emulates a Light Emitting Diode display");
    EXPECT_STREQ(d.productName, "Vanta Software LED Control");
    EXPECT_EQ(QList<int>(std::begin(d.version), std::end(d.version)), (QList<int>{1, 0, 0, 0}));

    QStringList members;
    for (const auto& m : d.members) members << QString("%1 %2").arg(m.name).arg(int(m.kind));
    EXPECT_EQ(members, (QStringList{"Text 1", "AutoResize 1", "AboutBox 2", "Refresh 2",
                                    "MousePointer 0", "MousePointer 1", "Text 0", "AutoResize 0",
                                    "LEDColour 0", "LEDColour 1", "Version 2"}));
    EXPECT_EQ(d.members[0].dispid, -517);
    EXPECT_EQ(d.members[1].dispid, -500);
    EXPECT_EQ(d.members[2].dispid, -552);
    EXPECT_EQ(d.members[3].dispid, -550);
    EXPECT_STREQ(d.members[8].help, "LED/LCD colour");

    QStringList events;
    for (const auto& e : d.events)
        events << QString("%1 %2 %3").arg(e.name).arg(e.dispid).arg(e.params.size());
    EXPECT_EQ(events, (QStringList{"DblClick -601 0", "Click -600 0", "KeyUp -604 2",
                                   "KeyPress -603 1", "KeyDown -602 2", "MouseDown -605 4",
                                   "MouseMove -606 4", "MouseUp -607 4"}));
    EXPECT_STREQ(d.events[1].help, "Control was clicked");

    const auto version = led->dispIdOf("version");
    ASSERT_TRUE(version);
    EXPECT_EQ(led->invoke(*version).toString(), "LED OCX v1.0.0");
}

TEST_F(LedHost, RefusesAColourOutsideAByteWithAnOverflow) {
    auto led = create();
    ASSERT_TRUE(led);
    const int colour = *led->dispIdOf("LEDColour");
    led->put(colour, 2);
    EXPECT_EQ(statusOf([&] { led->put(colour, 256); }), Status::Overflow);
    EXPECT_EQ(statusOf([&] { led->put(colour, -1); }), Status::Overflow);
    EXPECT_EQ(led->get(colour).toInt(), 2);
    EXPECT_EQ(statusOf([&] { led->put(-9999, 1); }), Status::MemberNotFound);
}

TEST_F(LedHost, SavedPropertiesAndSize) {
    auto led = create();
    ASSERT_TRUE(led);
    EXPECT_EQ(led->readProperties({{"text", "r 2.55"}, {"AUTORESIZE", true}, {"LEDColour", 1}}),
              Status::Ok);
    EXPECT_EQ(led->writeProperties(),
              (platform::PropertyBag{{"Text", "r 2.55"}, {"AutoResize", true}}));
    led->setExtent({1500, 690});
    EXPECT_EQ(led->extent(), QSize(2400, 683));  // fitted to "R 2.55"
    EXPECT_EQ(led->widget()->size(), QSize(160, 46));
}

TEST_F(LedHost, TheControlGoesWithItsOwner) {
    // Destroying the Control destroys the widget.
    auto led = create();
    ASSERT_TRUE(led);
    QPointer<QWidget> w = led->widget();
    led.reset();
    EXPECT_TRUE(w.isNull());

    // The window may go first; the Control then reports the object gone.
    auto* other = new QWidget;
    QString why;
    auto orphan = platform::CreateObject(kProgId, other, &why);
    ASSERT_TRUE(orphan);
    delete other;
    EXPECT_EQ(orphan->widget(), nullptr);
    EXPECT_EQ(statusOf([&] { orphan->put(platform::DISPID_TEXT, "x"); }), Status::ObjectGone);
    orphan.reset();

    // A host may drop the control from inside one of its events.
    auto dropped = create();
    ASSERT_TRUE(dropped);
    w = dropped->widget();
    dropped->setEventSink([&](int dispid, QVariantList&) {
        if (dispid == platform::DISPID_CLICK) dropped.reset();
    });
    QTest::mouseClick(w, Qt::LeftButton);
    EXPECT_FALSE(dropped);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(LedHost, TheLibraryCanBeUnloadedOnlyWhenNoInstanceLives) {
    QLibrary lib(platform::lookupClass(kProgId)->library);
    auto canUnload = reinterpret_cast<platform::DllCanUnloadNowFn>(lib.resolve("DllCanUnloadNow"));
    ASSERT_TRUE(canUnload);
    auto led = create();
    EXPECT_EQ(Status(canUnload()), Status::False);
    led.reset();
    EXPECT_EQ(Status(canUnload()), Status::Ok);
}
