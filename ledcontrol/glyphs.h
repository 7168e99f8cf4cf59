#pragma once
// The dot-matrix pictures of the library: glyph strips, the blank column and the badge,
// drawn once from the library's own 7-row font on a 5-pixel dot pitch.
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <span>

namespace vantaled {

constexpr int kDotPitch = 5;  // pixels from one dot to the next
constexpr int kGlyphRows = 7;
constexpr int kStripHeight = 36;
constexpr int kGreenStripWidth = 1180;
constexpr int kOrangeStripWidth = 1200;
constexpr int kBlankColumnWidth = 5;
constexpr int kBlankColumnHeight = 46;

// One character of the font: its lit dots, '#' lit, '.' unlit, kGlyphRows rows. The image
// of a character is one unlit column followed by these columns.
struct Glyph {
    char ch;
    const char* rows[kGlyphRows];
    int columns() const;
    int width() const { return (columns() + 1) * kDotPitch; }  // pixels, leading column included
};

// In strip order: "A".."Z", "1".."9", ".", "-".
std::span<const Glyph> glyphFont();
// Null when the font has no such character.
const Glyph* glyphOf(char ch);

enum class LedColour { Green, Orange };

// Built on first use (needs a QGuiApplication).
const QPixmap& glyphStrip(LedColour colour);
const QPixmap& blankColumn();

// The images themselves, for drawing and for checking.
QImage makeGlyphStrip(LedColour colour);
QImage makeBlankColumn();
// A panel of unlit dots of the given size with text lit in the middle, dot pitch given.
QImage makeBadge(QSize size, const QString& text, int pitch, LedColour colour);

}  // namespace vantaled
