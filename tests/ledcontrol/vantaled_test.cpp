// The control from inside: what it paints (pixel by pixel against the strips), when it
// paints, its size rule, its properties and saved form, its dialogs.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ledcontrol/fdlgabout.h"
#include "ledcontrol/glyphs.h"
#include "ledcontrol/propertypage1.h"
#include "ledcontrol/vantaled.h"
#include "ledcontrol/vantaledctl.h"
#include "testsupport.h"

using namespace vantaled;
using platform::Status;

namespace {

// Left edge and width in the strips, as documented for hosts and artists.
struct Place {
    char ch;
    int left;
    int width;
};
const Place kPlaces[] = {
    {'A', 0, 35},    {'B', 35, 35},   {'C', 70, 35},   {'D', 105, 35},  {'E', 140, 35},
    {'F', 175, 35},  {'G', 210, 35},  {'H', 245, 35},  {'I', 280, 30},  {'J', 310, 35},
    {'K', 345, 30},  {'L', 375, 35},  {'M', 410, 35},  {'N', 445, 35},  {'O', 480, 35},
    {'P', 515, 35},  {'Q', 550, 35},  {'R', 585, 35},  {'S', 620, 35},  {'T', 655, 30},
    {'U', 685, 35},  {'V', 720, 30},  {'W', 750, 50},  {'X', 800, 30},  {'Y', 830, 30},
    {'Z', 860, 30},  {'1', 890, 10},  {'2', 900, 30},  {'3', 930, 30},  {'4', 960, 30},
    {'5', 990, 30},  {'6', 1020, 30}, {'7', 1050, 30}, {'8', 1080, 30}, {'9', 1110, 30},
    {'.', 1140, 10}, {'-', 1150, 25}, {'0', 480, 35},
};

const Place* placeOf(QChar ch) {
    for (const Place& p : kPlaces)
        if (p.ch == ch) return &p;
    return nullptr;
}

QImage rgb(const QImage& img) {
    return img.convertToFormat(QImage::Format_RGB32);
}
QImage shown(VantaLed& led) {
    return rgb(led.grab().toImage());
}
QImage strip(LedColour c) {
    return rgb(makeGlyphStrip(c));
}

// The panel a text must give: unlit columns across the surface, each known character
// from its documented place at (x, 5), a space as four blank strip columns at (x, 0),
// one more blank strip column at the end.
QImage expectedPanel(const QString& text, LedColour colour, int width) {
    const QImage src = strip(colour);
    const QImage blank = rgb(makeBlankColumn());
    QImage out(width, 46, QImage::Format_RGB32);
    QPainter p(&out);
    for (int x = 0; x <= width; x += 5) p.drawImage(x, 0, blank);
    int x = 0;
    for (QChar ch : text) {
        if (ch == ' ') {
            for (int i = 0; i < 4; ++i, x += 5) p.drawImage(x, 0, src, 0, 0, 5, 36);
        } else if (const Place* pl = placeOf(ch)) {
            p.drawImage(x, 5, src, pl->left, 0, pl->width, 36);
            x += pl->width;
        }
    }
    p.drawImage(x, 0, src, 0, 0, 5, 36);
    return out;
}

// A window holding one control, shown so that resizes and paints happen as for a host.
struct Host {
    QWidget window;
    VantaLed* led;
    explicit Host(int widthPx = 155) {
        window.resize(400, 120);
        led = new VantaLed(&window);
        led->setGeometry(10, 10, widthPx, 46);
        window.show();
    }
};

bool isLit(QRgb c) {
    return qGreen(c) > 120 || qRed(c) > 120;
}

}  // namespace

TEST(VantaLedStrips, SizesAndTheDocumentedPlaces) {
    EXPECT_EQ(makeGlyphStrip(LedColour::Green).size(), QSize(1180, 36));
    EXPECT_EQ(makeGlyphStrip(LedColour::Orange).size(), QSize(1200, 36));
    EXPECT_EQ(makeBlankColumn().size(), QSize(5, 46));
    VantaLed led;
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(std::string(1, p.ch));
        EXPECT_EQ(led.charMap(QChar(p.ch)).left, p.left);
        EXPECT_EQ(led.charMap(QChar(p.ch)).width, p.width);
    }
    EXPECT_EQ(led.charMap(QChar(',')).width, 0);
    EXPECT_EQ(led.charMap(QChar('a')).width, 0);
}

// Reading the dots back out of the strips gives the font at the documented places, in
// both colours; every character's first column is unlit like the blank column, so that
// copies from column 0 and characters at (x, 5) sit seamlessly on the background.
TEST(VantaLedStrips, HoldTheFontAsLitDotsOnAnUnlitGrid) {
    const QImage blank = rgb(makeBlankColumn());
    for (LedColour colour : {LedColour::Green, LedColour::Orange}) {
        const QImage s = strip(colour);
        for (const Glyph& g : glyphFont()) {
            SCOPED_TRACE(std::string(1, g.ch));
            const Place* pl = placeOf(QChar(g.ch));
            ASSERT_NE(pl, nullptr);
            ASSERT_EQ(g.width(), pl->width);
            EXPECT_EQ(s.copy(pl->left, 0, 5, 36), blank.copy(0, 5, 5, 36));
            for (int row = 0; row < kGlyphRows; ++row) {
                QString read;
                for (int col = 0; col < g.columns(); ++col)
                    read += isLit(s.pixel(pl->left + (col + 1) * 5 + 2, row * 5 + 2)) ? '#' : '.';
                EXPECT_EQ(read, QString::fromLatin1(g.rows[row])) << "row " << row;
            }
        }
        EXPECT_EQ(s.copy(0, 0, 5, 36), blank.copy(0, 0, 5, 36));
    }
    // No two characters look alike.
    const auto font = glyphFont();
    for (size_t i = 0; i < font.size(); ++i)
        for (size_t j = i + 1; j < font.size(); ++j) {
            bool same = font[i].columns() == font[j].columns();
            for (int r = 0; same && r < kGlyphRows; ++r)
                same = qstrcmp(font[i].rows[r], font[j].rows[r]) == 0;
            EXPECT_FALSE(same) << font[i].ch << " and " << font[j].ch;
        }
}

struct DrawCase {
    const char* text;
    bool autoResize;
    int colour;
    const char* readBack;
    int widthTwips;  // the control's width afterwards
};

TEST(VantaLed, PaintsTextsFromTheStripsAndFitsThem) {
    const DrawCase cases[] = {
        {"R 2.55", true, 1, "R 2.55", 2400},
        {"10.5", true, 1, "10.5", (10 + 35 + 10 + 30 + 5) * 15},  // "0" is the "O" image
        {"vanta led", true, 1, "VANTA LED", (35 * 6 + 30 * 2 + 20 + 5) * 15},
        {"2,5", true, 1, "2,5", (30 + 30 + 5) * 15},  // the comma takes no room
        {"", true, 1, "", 75},
        {"-12.3 W", true, 2, "-12.3 W", (25 + 10 + 30 + 10 + 30 + 20 + 50 + 5) * 15},
        {"25.3", false, 0, "25.3", 155 * 15},
        {"VANTA SOFTWARE", false, 1, "VANTA SOFTWARE", 155 * 15},  // cut off at the edge
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.text);
        Host host;
        VantaLed& led = *host.led;
        ASSERT_EQ(led.setLEDColour(c.colour), Status::Ok);
        led.setAutoResize(c.autoResize);
        led.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(led.Text(), QString::fromLatin1(c.readBack));
        EXPECT_EQ(led.extent(), QSize(c.widthTwips, 683));
        EXPECT_EQ(led.size(), QSize(c.widthTwips / 15, 46));
        if (c.autoResize) {
            EXPECT_EQ(led.fittedWidth(), c.widthTwips);
        }
        const LedColour colour = c.colour == 2 ? LedColour::Orange : LedColour::Green;
        EXPECT_EQ(shown(led), expectedPanel(led.Text(), colour, led.width()));
    }
}

TEST(VantaLed, ColoursZeroAndOneAreGreenTwoIsOrange) {
    const std::pair<int, LedColour> cases[] = {{0, LedColour::Green},
                                               {1, LedColour::Green},
                                               {2, LedColour::Orange},
                                               {3, LedColour::Green},
                                               {255, LedColour::Green}};
    for (auto [value, colour] : cases) {
        SCOPED_TRACE(value);
        Host host;
        host.led->setText("A8");
        ASSERT_EQ(host.led->setLEDColour(value), Status::Ok);
        EXPECT_EQ(host.led->LEDColour(), value);
        const QImage s = strip(colour);
        EXPECT_EQ(shown(*host.led).copy(0, 5, 35, 36), s.copy(0, 0, 35, 36));
        EXPECT_EQ(shown(*host.led).copy(35, 5, 30, 36), s.copy(1080, 0, 30, 36));
    }
}

TEST(VantaLed, RepaintsOnlyWhenItMust) {
    Host host;
    VantaLed& led = *host.led;
    int n = led.drawCount();
    led.setText("25.3");
    EXPECT_EQ(led.drawCount(), ++n);
    led.setText("25.3");
    EXPECT_EQ(led.drawCount(), n);
    led.setText("abc");
    led.setText("abc");  // stored as "ABC" by the first paint
    EXPECT_EQ(led.drawCount(), ++n);
    ASSERT_EQ(led.setLEDColour(led.LEDColour()), Status::Ok);
    EXPECT_EQ(led.drawCount(), ++n);
    led.setAutoResize(false);
    EXPECT_EQ(led.drawCount(), n);
    led.setAutoResize(true);  // fits: one paint, the control's own resize adds none
    EXPECT_EQ(led.drawCount(), ++n);
    led.Refresh();
    EXPECT_EQ(led.drawCount(), n);
}

TEST(VantaLed, HeightStaysAt683Twips) {
    Host host;
    VantaLed& led = *host.led;
    int n = led.drawCount();
    led.setExtent({2000, 690});
    EXPECT_EQ(led.extent(), QSize(2000, 683));
    EXPECT_EQ(led.height(), 46);
    EXPECT_EQ(led.drawCount(), ++n);

    led.resize(120, 60);  // in pixels
    EXPECT_EQ(led.extent(), QSize(1800, 683));
    EXPECT_EQ(led.size(), QSize(120, 46));
    EXPECT_EQ(led.drawCount(), ++n);

    led.resize(120, 45);  // 683 twips cut down to whole pixels
    EXPECT_EQ(led.height(), 46);
    EXPECT_EQ(led.extent().height(), 683);
}

TEST(VantaLed, NothingIsPaintedBeforeTheFirstResize) {
    QWidget window;
    auto* led = new VantaLed(&window);
    EXPECT_EQ(led->ReadProperties({{"Text", "abc"}, {"AutoResize", true}}), Status::Ok);
    EXPECT_EQ(led->drawCount(), 0);
    EXPECT_EQ(led->Text(), "abc");
    window.show();
    EXPECT_EQ(led->drawCount(), 1);
    EXPECT_EQ(led->Text(), "ABC");
    EXPECT_EQ(led->extent(), QSize((35 * 3 + 5) * 15, 683));
}

TEST(VantaLed, LedColourOutsideAByteIsAnOverflow) {
    Host host;
    VantaLed& led = *host.led;
    ASSERT_EQ(led.setLEDColour(2), Status::Ok);
    const int n = led.drawCount();
    EXPECT_EQ(led.setLEDColour(256), Status::Overflow);
    EXPECT_EQ(led.setLEDColour(-1), Status::Overflow);
    EXPECT_EQ(led.LEDColour(), 2);
    EXPECT_EQ(led.drawCount(), n);
}

TEST(VantaLed, ValuesThroughTheDispatchInterface) {
    QWidget window;
    platform::IControl* obj = nullptr;
    ASSERT_EQ(classFactory().createInstance(&window, &obj), Status::Ok);
    platform::Control led(obj, classFactory().describe());
    struct Put {
        int dispid;
        QVariant value;
        Status status;
        QVariant readBack;
    };
    const Put cases[] = {
        {DISPID_LEDCOLOUR, 2.5, Status::Ok, 2},  // halves to even
        {DISPID_LEDCOLOUR, "255", Status::Ok, 255},
        {DISPID_LEDCOLOUR, 255.5, Status::Overflow, 255},
        {DISPID_LEDCOLOUR, "orange", Status::TypeMismatch, 255},
        {platform::DISPID_AUTOSIZE, "True", Status::Ok, true},
        {platform::DISPID_AUTOSIZE, 0, Status::Ok, false},
        {platform::DISPID_AUTOSIZE, "maybe", Status::TypeMismatch, false},
        {platform::DISPID_MOUSEPOINTER, 11, Status::Ok, 11},
        {platform::DISPID_MOUSEPOINTER, 50, Status::InvalidValue, 11},
        {platform::DISPID_MOUSEPOINTER, 40000, Status::Overflow, 11},
        {platform::DISPID_TEXT, 253, Status::Ok, "253"},
        {DISPID_VERSION, "x", Status::MemberNotFound, "LED OCX v1.0.0"},
    };
    for (const Put& c : cases) {
        SCOPED_TRACE(c.dispid);
        Status got = Status::Ok;
        try {
            led.put(c.dispid, c.value);
        } catch (const platform::ComError& e) {
            got = e.status();
        }
        EXPECT_EQ(got, c.status);
        EXPECT_EQ(led.get(c.dispid).toString(), c.readBack.toString());
    }
    EXPECT_EQ(led.widget()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(led.invoke(DISPID_VERSION).toString(), "LED OCX v1.0.0");
    EXPECT_THROW(led.invoke(platform::DISPID_REFRESH, {1}), platform::ComError);
    EXPECT_THROW(led.get(12345), platform::ComError);
}

TEST(VantaLed, SavedFormRoundTrips) {
    struct Case {
        platform::PropertyBag read;
        platform::PropertyBag written;
        Status status;
    };
    const Case cases[] = {
        {{}, {}, Status::Ok},  // all defaults: nothing written, LEDColour read as 1
        {{{"text", "R 2.55"}, {"AUTORESIZE", true}},
         {{"Text", "R 2.55"}, {"AutoResize", true}},
         Status::Ok},
        {{{"LEDColour", 0}}, {{"LEDColour", 0}}, Status::Ok},
        {{{"LEDColour", 2}, {"MousePointer", 3}, {"Text", "Vanta Software"}},
         {{"LEDColour", 2}, {"MousePointer", 3}},
         Status::Ok},
        {{{"LEDColour", 300}, {"Text", "x"}}, {{"Text", "x"}}, Status::Overflow},
    };
    for (const Case& c : cases) {
        VantaLed led;
        EXPECT_EQ(led.ReadProperties(c.read), c.status);
        EXPECT_EQ(led.WriteProperties(), c.written);
        VantaLed again;
        EXPECT_EQ(again.ReadProperties(led.WriteProperties()), Status::Ok);
        EXPECT_EQ(again.WriteProperties(), c.written);
    }
    // A newly placed control: the text and no fitting, LEDColour 0 (green) written.
    VantaLed placed;
    EXPECT_EQ(placed.Text(), "Vanta Software");
    EXPECT_FALSE(placed.AutoResize());
    EXPECT_EQ(placed.WriteProperties(), (platform::PropertyBag{{"LEDColour", 0}}));
    // The pointer applies at once.
    VantaLed pointer;
    pointer.ReadProperties({{"MousePointer", 2}});
    EXPECT_EQ(pointer.cursor().shape(), Qt::CrossCursor);
}

TEST(VantaLed, AccessibleNameIsTheShownText) {
    Host host;
    host.led->setText("r 2.55");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(host.led);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), "R 2.55");
    host.led->setText("10.5");
    EXPECT_EQ(a->text(QAccessible::Name), "10.5");
}

TEST(VantaLed, EventsPassTheirValuesOn) {
    Host host;
    VantaLed& led = *host.led;
    QList<std::pair<int, QVariantList>> got;
    led.setEventHandler([&](int dispid, QVariantList& args) {
        got.append({dispid, args});
        for (QVariant& v : args) v = QVariant();  // the host may change them
    });
    QTest::mouseClick(&led, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 9));
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[0].first, platform::DISPID_MOUSEDOWN);
    EXPECT_EQ(got[0].second,
              (QVariantList{QVariant::fromValue<qint16>(1), QVariant::fromValue<qint16>(1),
                            QVariant::fromValue<float>(7), QVariant::fromValue<float>(9)}));
    EXPECT_EQ(got[1].first, platform::DISPID_MOUSEUP);
    EXPECT_EQ(got[2].first, platform::DISPID_CLICK);
    EXPECT_TRUE(got[2].second.isEmpty());

    got.clear();
    QTest::mouseDClick(&led, Qt::LeftButton, {}, QPoint(3, 3));
    QList<int> ids;
    for (auto& e : got) ids.append(e.first);
    EXPECT_EQ(ids.count(platform::DISPID_DBLCLICK), 1);
    EXPECT_LE(ids.count(platform::DISPID_CLICK), 1);

    got.clear();
    led.setFocus();
    QTest::keyClick(&led, Qt::Key_A);
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[0].first, platform::DISPID_KEYDOWN);
    EXPECT_EQ(got[0].second.value(0).toInt(), 65);
    EXPECT_EQ(got[1].first, platform::DISPID_KEYPRESS);
    EXPECT_EQ(got[1].second.value(0).toInt(), 'a');
    EXPECT_EQ(got[2].first, platform::DISPID_KEYUP);
}

// Closes each modal window as it comes up and notes its title and text.
class ModalCloser {
  public:
    ModalCloser() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w) return;
            QString text = w->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(w)) text += " | " + box->text();
            if (auto* about = qobject_cast<fdlgAbout*>(w)) text += " | " + about->lblTitle->text();
            seen.append(text);
            w->close();
        });
        timer_.start();
    }
    QStringList seen;

  private:
    QTimer timer_;
};

TEST(fdlgAbout, MemoryFiguresInK) {
    const QByteArray meminfo =
        "MemTotal:       16318412 kB\nMemFree:         1000 kB\nMemAvailable:   12000000 kB\n"
        "Buffers:          2048 kB\nSwapTotal:       2097148 kB\nSwapFree:        2097000 kB\n";
    const auto m = parseMemInfo(meminfo, nullptr);
    ASSERT_TRUE(m);
    EXPECT_EQ(memoryText(*m),
              "Physical RAM:  16318412k ( 12000000k available)\n"
              "Swapfile:  2097148k ( 2097000k available)");
    // Without an estimate of available memory the free memory stands in.
    QByteArray old = meminfo;
    old.replace("MemAvailable:   12000000 kB\n", "");
    EXPECT_EQ(parseMemInfo(old, nullptr)->availPhys, 1000u * 1024);
    QString why;
    EXPECT_FALSE(parseMemInfo("MemTotal: 1 kB\n", &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(fdlgAbout, ShowsProductVersionAndMemory) {
    fdlgAbout about;
    EXPECT_EQ(about.windowTitle(), "About Vanta Software LED Control");
    EXPECT_EQ(about.lblAbout->toolTip(), about.windowTitle());
    EXPECT_EQ(about.lblTitle->text(), "Vanta Software LED Control Version Number 1.0.0");
    EXPECT_TRUE(about.lblAbout->text().startsWith("Physical RAM:  "));
    EXPECT_TRUE(about.lblAbout->text().contains("k available)\n\n"));
    EXPECT_EQ(about.cmdOK->text(), "OK");
    EXPECT_EQ(about.cmdOK->toolTip(), "Press to continue");
    about.show();
    testing_support::savePng(&about, "ledcontrol_about");
}

TEST(fdlgAbout, AFailureIsShownInAWarningBox) {
    ModalCloser closer;
    fdlgAbout about(nullptr, "/nonexistent/meminfo");
    ASSERT_EQ(closer.seen.size(), 1);
    EXPECT_TRUE(closer.seen[0].startsWith("Vanta Software LED Control | "));
    EXPECT_FALSE(about.lblAbout->text().contains("Physical RAM"));
}

TEST(fdlgAbout, AboutBoxIsModalAndUnloadedAfterwards) {
    Host host;
    ModalCloser closer;
    host.led->AboutBox();
    ASSERT_EQ(closer.seen.size(), 1);
    EXPECT_EQ(closer.seen[0],
              "About Vanta Software LED Control | Vanta Software LED Control "
              "Version Number 1.0.0");
    EXPECT_TRUE(host.led->findChildren<fdlgAbout*>().isEmpty());
}

TEST(PropertyPage1, EditsTheFirstSelectedControl) {
    Host a, b;
    a.led->setText("one");
    b.led->setText("two");
    PropertyPage1 page;
    page.show();
    EXPECT_EQ(page.windowTitle(), "Properties");
    EXPECT_EQ(page.lblText->text(), "Text:");
    EXPECT_EQ(page.Picture1->size(), QSize(94, 84));
    page.SelectionChanged({a.led, b.led});
    EXPECT_EQ(page.txtText->text(), "ONE");
    EXPECT_FALSE(page.Changed());
    page.txtText->setFocus();
    QTest::keyClicks(page.txtText, "-9");
    EXPECT_TRUE(page.Changed());
    page.ApplyChanges();
    EXPECT_EQ(a.led->Text(), "ONE-9");
    EXPECT_EQ(b.led->Text(), "TWO");
    EXPECT_FALSE(page.Changed());
    testing_support::savePng(&page, "ledcontrol_propertypage");

    ModalCloser closer;
    QTest::mouseClick(page.Picture1, Qt::LeftButton);
    ASSERT_EQ(closer.seen.size(), 1);
    EXPECT_TRUE(closer.seen[0].startsWith("About Vanta Software LED Control"));
}

// Panels for a person to look at: <build>/screenshots/ledcontrol_*.png
TEST(VantaLed, SavesPanels) {
    QWidget window;
    window.setStyleSheet("background: #d4d0c8");
    const std::tuple<const char*, bool, int, int> panels[] = {
        {"R 2.55", true, 1, 0},        {"25.3", false, 0, 155},
        {"100.0", false, 0, 155},      {"57", false, 0, 75},
        {"-12.5", true, 2, 0},         {"Vanta Software", true, 1, 0},
        {"ABCDEFGHIJKLM", true, 1, 0}, {"NOPQRSTUVWXYZ", true, 2, 0},
        {"0123456789.-", true, 1, 0},
    };
    int y = 10;
    for (auto [text, fit, colour, width] : panels) {
        auto* led = new VantaLed(&window);
        led->setGeometry(10, y, width ? width : 100, 46);
        led->setLEDColour(colour);
        led->setAutoResize(fit);
        led->setText(text);
        y += 56;
    }
    window.resize(520, y);
    window.show();
    QCoreApplication::processEvents();
    testing_support::savePng(&window, "ledcontrol_panels");

    QLabel strips;
    QImage both(1200, 80, QImage::Format_RGB32);
    both.fill(Qt::black);
    QPainter p(&both);
    p.drawImage(0, 0, makeGlyphStrip(LedColour::Green));
    p.drawImage(0, 40, makeGlyphStrip(LedColour::Orange));
    p.end();
    strips.setPixmap(QPixmap::fromImage(both));
    strips.resize(both.size());
    testing_support::savePng(&strips, "ledcontrol_strips");
}
