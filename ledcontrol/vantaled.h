#pragma once
// VantaLed: one line of text shown as a dot-matrix LED panel. Characters are copied out
// of a glyph strip onto a persistent image over columns of unlit dots; the surface only
// shows that image. Geometry is kept in twips (15 per pixel); the height is always 683.
#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>

#include "platform/component.h"

namespace vantaled {

enum LEDColourConstants { GreenLED = 1, OrangeLED = 2 };

class VantaLed : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kHeightTwips = 683;
    static constexpr int BlankLeft = 0;
    static constexpr int BlankWidth = 5;

    struct CharEntry {
        int32_t left = 0;
        int32_t width = 0;  // 0: not in the strips
    };

    explicit VantaLed(QWidget* parent = nullptr);
    ~VantaLed() override;

    static QString defaultText();
    static QString Version();

    QString Text() const { return text_; }
    void setText(const QString& text);
    bool AutoResize() const { return autoResize_; }
    void setAutoResize(bool on);
    int LEDColour() const { return colour_; }
    // Held in one byte: Overflow outside 0..255.
    platform::Status setLEDColour(qint64 value);
    int16_t MousePointer() const { return mousePointer_; }
    // InvalidValue for a code that names no pointer shape.
    platform::Status setMousePointer(int code);

    void Refresh();
    void AboutBox();
    void DrawLEDText(bool force = false);

    // Saved properties: missing or refused values take their defaults; nothing is painted.
    platform::Status ReadProperties(const platform::PropertyBag& bag);
    platform::PropertyBag WriteProperties() const;

    QSize extent() const { return extent_; }
    void setExtent(QSize twips);

    void setEventHandler(platform::EventHandler handler) { events_ = std::move(handler); }
    void setPropertyChangedHandler(platform::PropertyChangedHandler h) { changes_ = std::move(h); }

    const CharEntry& charMap(QChar ch) const;
    int fittedWidth() const { return fittedWidth_; }
    QString lastDrawnText() const { return lastDrawnText_; }
    const QPixmap& image() const { return image_; }
    // Times DrawLEDText painted.
    int drawCount() const { return drawCount_; }
    // Inside one of its own event handlers (it must not be deleted there).
    bool busy() const { return eventDepth_ > 0; }

    QSize sizeHint() const override;

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

  private:
    void BuildCharMap();
    void InitProperties();
    void UserControl_Resize();
    void applyPixelSize();
    void PropertyChanged(const QString& name);
    void raiseEvent(int dispid, QVariantList args);
    void mouseEvent(int dispid, int button, QMouseEvent* e);
    void prepareImage();
    void showPointer();

    std::array<CharEntry, 128> CharMap{};
    QString text_;
    bool autoResize_ = false;
    uint8_t colour_ = 0;
    int16_t mousePointer_ = 0;
    QString lastDrawnText_;
    int fittedWidth_ = 0;

    QSize extent_;                 // twips
    QSize handledPixels_{-1, -1};  // pixel size extent_ was last brought to
    QPixmap image_;
    int drawCount_ = 0;
    int eventDepth_ = 0;
    bool afterDoubleClick_ = false;
    platform::EventHandler events_;
    platform::PropertyChangedHandler changes_;
};

}  // namespace vantaled
