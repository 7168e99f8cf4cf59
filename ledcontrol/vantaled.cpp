#include "ledcontrol/vantaled.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "ledcontrol/fdlgabout.h"
#include "ledcontrol/glyphs.h"
#include "ledcontrol/vantaledctl.h"

namespace vantaled {

namespace {

int pixelsOf(int twips) {
    return qRound(twips / double(VantaLed::kTwipsPerPixel));
}

// Pointer codes of the host platform (0 = default) to shapes; 4 and 99 have no shape
// of their own here and show the arrow.
std::optional<Qt::CursorShape> cursorOf(int code) {
    switch (code) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 4:
            return Qt::ArrowCursor;
        case 5:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        case 15:
            return Qt::SizeAllCursor;
        case 99:
            return Qt::ArrowCursor;
    }
    return std::nullopt;
}

// Shift 1, Ctrl 2, Alt 4.
int16_t shiftState(Qt::KeyboardModifiers m) {
    return int16_t((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                   (m & Qt::AltModifier ? 4 : 0));
}

// Virtual key codes: letters and digits are their capital ASCII codes.
int16_t keyCode(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return int16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return int16_t(0x70 + key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Pause:
            return 0x13;
        case Qt::Key_CapsLock:
            return 0x14;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        case Qt::Key_Asterisk:
            return 0x6A;
        case Qt::Key_Plus:
            return 0x6B;
        case Qt::Key_Minus:
            return 0xBD;
        case Qt::Key_Period:
            return 0xBE;
        case Qt::Key_Comma:
            return 0xBC;
    }
    return 0;
}

// Capitals by simple case mapping (one character for one); shares the data when
// nothing changes.
QString upper(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i].toUpper() == s[i]) ++i;
    if (i == s.size()) return s;
    QString out = s;
    for (; i < out.size(); ++i) out[i] = out[i].toUpper();
    return out;
}

const QVariant* findProperty(const platform::PropertyBag& bag, const char* name) {
    for (auto it = bag.constBegin(); it != bag.constEnd(); ++it)
        if (it.key().compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return &it.value();
    return nullptr;
}

}  // namespace

VantaLed::VantaLed(QWidget* parent) : QWidget(parent) {
    objectCreated();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    extent_ = size() * kTwipsPerPixel;
    BuildCharMap();
    InitProperties();
}

VantaLed::~VantaLed() {
    objectDestroyed();
}

QString VantaLed::defaultText() {
    return QStringLiteral("Vanta Software");
}

QString VantaLed::Version() {
    return QStringLiteral("LED OCX v") + versionNumber();
}

// Strip order: "A".."Z", "1".."9", ".", "-", each starting where the previous ends;
// "0" shows the image of "O".
void VantaLed::BuildCharMap() {
    int32_t left = 0;
    for (const Glyph& g : glyphFont()) {
        CharMap[uchar(g.ch)] = {left, g.width()};
        left += g.width();
    }
    CharMap['0'] = CharMap['O'];
}

const VantaLed::CharEntry& VantaLed::charMap(QChar ch) const {
    static const CharEntry none;
    return ch.unicode() < CharMap.size() ? CharMap[ch.unicode()] : none;
}

// A newly placed control; LEDColour stays 0, which draws green.
void VantaLed::InitProperties() {
    text_ = defaultText();
    autoResize_ = false;
    setAccessibleName(text_);
}

void VantaLed::PropertyChanged(const QString& name) {
    if (changes_) {
        auto h = changes_;
        h(name);
    }
}

void VantaLed::setText(const QString& text) {
    text_ = text;
    PropertyChanged(QStringLiteral("Text"));
    DrawLEDText();
}

void VantaLed::setAutoResize(bool on) {
    autoResize_ = on;
    PropertyChanged(QStringLiteral("AutoResize"));
    if (on) DrawLEDText(true);
}

platform::Status VantaLed::setLEDColour(qint64 value) {
    if (value < 0 || value > 255) return platform::Status::Overflow;
    colour_ = uint8_t(value);
    PropertyChanged(QStringLiteral("LEDColour"));
    DrawLEDText(true);
    return platform::Status::Ok;
}

platform::Status VantaLed::setMousePointer(int code) {
    if (code != 0 && !cursorOf(code)) return platform::Status::InvalidValue;
    mousePointer_ = int16_t(code);
    showPointer();
    PropertyChanged(QStringLiteral("MousePointer"));
    return platform::Status::Ok;
}

void VantaLed::showPointer() {
    if (const auto shape = cursorOf(mousePointer_))
        setCursor(*shape);
    else
        unsetCursor();
}

void VantaLed::Refresh() {
    repaint();
}

// The host may destroy the control while the dialog runs its own event loop.
void VantaLed::AboutBox() {
    QPointer<VantaLed> self(this);
    ++eventDepth_;
    QPointer<fdlgAbout> about = new fdlgAbout(this);
    about->exec();
    delete about;
    if (self) --eventDepth_;
}

// Fitting happens before the background is laid so that a surface that grows is
// covered whole.
void VantaLed::DrawLEDText(bool force) {
    const QPixmap& source = glyphStrip(colour_ == OrangeLED ? LedColour::Orange : LedColour::Green);
    text_ = upper(text_);
    if (accessibleName() != text_) setAccessibleName(text_);
    if (!force && text_ == lastDrawnText_) return;
    lastDrawnText_ = text_;
    ++drawCount_;

    if (autoResize_) {
        int sum = 0;
        for (QChar ch : text_) sum += ch == ' ' ? 4 * BlankWidth : charMap(ch).width;
        fittedWidth_ = (sum + BlankWidth) * kTwipsPerPixel;
        if (extent_.width() != fittedWidth_) {
            extent_ = {fittedWidth_, kHeightTwips};
            applyPixelSize();
        }
    }

    prepareImage();
    if (image_.isNull()) return;
    QPainter p(&image_);
    const QPixmap& blank = blankColumn();
    for (int x = 0; x <= width(); x += BlankWidth)
        p.drawPixmap(x, 0, blank, BlankLeft, 0, BlankWidth, blank.height());
    int x = 0;
    for (QChar ch : text_) {
        if (ch == ' ') {
            for (int i = 0; i < 4; ++i) {
                p.drawPixmap(x, 0, source, BlankLeft, 0, BlankWidth, source.height());
                x += BlankWidth;
            }
            continue;
        }
        const CharEntry& c = charMap(ch);
        if (c.width == 0) continue;
        p.drawPixmap(x, 5, source, c.left, 0, c.width, source.height());
        x += c.width;
    }
    p.drawPixmap(x, 0, source, BlankLeft, 0, BlankWidth, source.height());
    p.end();
    update();
}

// The persistent image follows the surface's size; what was drawn stays, new area
// shows the background colour until drawn on.
void VantaLed::prepareImage() {
    if (image_.size() == size()) return;
    if (size().isEmpty()) {
        image_ = QPixmap();
        return;
    }
    QPixmap grown(size());
    grown.fill(palette().color(QPalette::Highlight));
    if (!image_.isNull()) {
        QPainter p(&grown);
        p.drawPixmap(0, 0, image_);
    }
    image_ = grown;
}

void VantaLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor background = palette().color(QPalette::Highlight);
    if (image_.isNull()) {
        p.fillRect(rect(), background);
        return;
    }
    p.drawPixmap(0, 0, image_);
    if (image_.width() < width()) p.fillRect(image_.width(), 0, width(), height(), background);
    if (image_.height() < height()) p.fillRect(0, image_.height(), width(), height(), background);
}

QSize VantaLed::sizeHint() const {
    return {pixelsOf(extent_.width()), pixelsOf(extent_.height())};
}

void VantaLed::applyPixelSize() {
    handledPixels_ = {pixelsOf(extent_.width()), pixelsOf(extent_.height())};
    if (size() != handledPixels_) resize(handledPixels_);
    updateGeometry();
}

void VantaLed::setExtent(QSize twips) {
    extent_ = twips;
    applyPixelSize();
    UserControl_Resize();
}

// A pixel size that rounds from the twips already held keeps them.
void VantaLed::resizeEvent(QResizeEvent*) {
    if (size() == handledPixels_) return;
    if (pixelsOf(extent_.width()) != width()) extent_.setWidth(width() * kTwipsPerPixel);
    if (pixelsOf(extent_.height()) != height()) extent_.setHeight(height() * kTwipsPerPixel);
    handledPixels_ = size();
    UserControl_Resize();
}

void VantaLed::UserControl_Resize() {
    if (extent_.height() == kHeightTwips && autoResize_ && extent_.width() == fittedWidth_) return;
    if (extent_.height() != kHeightTwips) {
        extent_.setHeight(kHeightTwips);
        applyPixelSize();
    }
    DrawLEDText(true);
}

platform::Status VantaLed::ReadProperties(const platform::PropertyBag& bag) {
    using platform::Status;
    Status result = Status::Ok;
    auto refuse = [&](Status s) {
        if (result == Status::Ok) result = s;
    };

    mousePointer_ = 0;
    if (const QVariant* v = findProperty(bag, "MousePointer")) {
        qint64 code = 0;
        Status s = toWhole(*v, INT16_MIN, INT16_MAX, code);
        if (s == Status::Ok && code != 0 && !cursorOf(int(code))) s = Status::InvalidValue;
        if (s == Status::Ok)
            mousePointer_ = int16_t(code);
        else
            refuse(s);
    }
    showPointer();

    text_ = defaultText();
    if (const QVariant* v = findProperty(bag, "Text")) text_ = v->toString();
    setAccessibleName(text_);

    autoResize_ = false;
    if (const QVariant* v = findProperty(bag, "AutoResize")) {
        bool on = false;
        const Status s = toBoolean(*v, on);
        if (s == Status::Ok)
            autoResize_ = on;
        else
            refuse(s);
    }

    colour_ = GreenLED;
    if (const QVariant* v = findProperty(bag, "LEDColour")) {
        qint64 c = 0;
        const Status s = toWhole(*v, 0, 255, c);
        if (s == Status::Ok)
            colour_ = uint8_t(c);
        else
            refuse(s);
    }
    return result;
}

platform::PropertyBag VantaLed::WriteProperties() const {
    platform::PropertyBag bag;
    if (mousePointer_ != 0) bag.insert(QStringLiteral("MousePointer"), int(mousePointer_));
    if (text_ != defaultText()) bag.insert(QStringLiteral("Text"), text_);
    if (autoResize_) bag.insert(QStringLiteral("AutoResize"), true);
    if (colour_ != GreenLED) bag.insert(QStringLiteral("LEDColour"), int(colour_));
    return bag;
}

// ---- Events: the values received are passed straight on --------------------------

bool VantaLed::event(QEvent* e) {
    ++eventDepth_;
    const bool r = QWidget::event(e);
    --eventDepth_;
    return r;
}

void VantaLed::raiseEvent(int dispid, QVariantList args) {
    if (!events_) return;
    auto h = events_;  // the host may drop its sink while handling
    h(dispid, args);
}

void VantaLed::mouseEvent(int dispid, int button, QMouseEvent* e) {
    const QPointF pos = e->position();
    raiseEvent(dispid, {QVariant::fromValue<qint16>(int16_t(button)),
                        QVariant::fromValue<qint16>(shiftState(e->modifiers())),
                        QVariant::fromValue<float>(float(pos.x())),
                        QVariant::fromValue<float>(float(pos.y()))});
}

void VantaLed::mousePressEvent(QMouseEvent* e) {
    afterDoubleClick_ = false;
    mouseEvent(platform::DISPID_MOUSEDOWN, int(e->button()) & 7, e);
}

void VantaLed::mouseReleaseEvent(QMouseEvent* e) {
    mouseEvent(platform::DISPID_MOUSEUP, int(e->button()) & 7, e);
    if (e->button() == Qt::LeftButton && !afterDoubleClick_ && rect().contains(e->pos()))
        raiseEvent(platform::DISPID_CLICK, {});
    afterDoubleClick_ = false;
}

void VantaLed::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return mousePressEvent(e);
    afterDoubleClick_ = true;
    raiseEvent(platform::DISPID_DBLCLICK, {});
}

void VantaLed::mouseMoveEvent(QMouseEvent* e) {
    mouseEvent(platform::DISPID_MOUSEMOVE, int(e->buttons()) & 7, e);
}

void VantaLed::keyPressEvent(QKeyEvent* e) {
    raiseEvent(platform::DISPID_KEYDOWN, {QVariant::fromValue<qint16>(keyCode(e->key())),
                                          QVariant::fromValue<qint16>(shiftState(e->modifiers()))});
    const QString t = e->text();
    if (!t.isEmpty() && t[0].unicode() < 256)
        raiseEvent(platform::DISPID_KEYPRESS,
                   {QVariant::fromValue<qint16>(int16_t(t[0].unicode()))});
}

void VantaLed::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    raiseEvent(platform::DISPID_KEYUP, {QVariant::fromValue<qint16>(keyCode(e->key())),
                                        QVariant::fromValue<qint16>(shiftState(e->modifiers()))});
}

}  // namespace vantaled
