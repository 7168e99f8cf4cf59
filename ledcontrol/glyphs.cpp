#include "ledcontrol/glyphs.h"

#include <cstring>

namespace vantaled {

namespace {

// clang-format off
constexpr Glyph kFont[] = {
    {'A', {"..##..", ".#..#.", "#....#", "#....#", "######", "#....#", "#....#"}},
    {'B', {"#####.", "#....#", "#....#", "#####.", "#....#", "#....#", "#####."}},
    {'C', {".####.", "#....#", "#.....", "#.....", "#.....", "#....#", ".####."}},
    {'D', {"####..", "#...#.", "#....#", "#....#", "#....#", "#...#.", "####.."}},
    {'E', {"######", "#.....", "#.....", "#####.", "#.....", "#.....", "######"}},
    {'F', {"######", "#.....", "#.....", "#####.", "#.....", "#.....", "#....."}},
    {'G', {".####.", "#....#", "#.....", "#..###", "#....#", "#....#", ".####."}},
    {'H', {"#....#", "#....#", "#....#", "######", "#....#", "#....#", "#....#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..####", "....#.", "....#.", "....#.", "#...#.", "#...#.", ".###.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#.....", "#.....", "#.....", "#.....", "#.....", "#.....", "######"}},
    {'M', {"#....#", "##..##", "#.##.#", "#.##.#", "#....#", "#....#", "#....#"}},
    {'N', {"#....#", "##...#", "#.#..#", "#..#.#", "#...##", "#....#", "#....#"}},
    {'O', {".####.", "#....#", "#....#", "#....#", "#....#", "#....#", ".####."}},
    {'P', {"#####.", "#....#", "#....#", "#####.", "#.....", "#.....", "#....."}},
    {'Q', {".####.", "#....#", "#....#", "#....#", "#..#.#", "#...#.", ".###.#"}},
    {'R', {"#####.", "#....#", "#....#", "#####.", "#..#..", "#...#.", "#....#"}},
    {'S', {".####.", "#....#", "#.....", ".####.", ".....#", "#....#", ".####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#....#", "#....#", "#....#", "#....#", "#....#", "#....#", ".####."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#.......#", "#.......#", "#...#...#", "#...#...#", "#...#...#", ".#.#.#.#.", "..#...#.."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'1', {"#", "#", "#", "#", "#", "#", "#"}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'.', {".", ".", ".", ".", ".", ".", "#"}},
    {'-', {"....", "....", "....", "####", "....", "....", "...."}},
};
// clang-format on

const QColor kGrid(0x0c, 0x0f, 0x0c);
const QColor kUnlit(0x26, 0x2d, 0x26);

struct DotColours {
    QColor edge;
    QColor core;
};

DotColours litColours(LedColour colour) {
    if (colour == LedColour::Orange) return {QColor(0xff, 0x8a, 0x00), QColor(0xff, 0xd8, 0x90)};
    return {QColor(0x2f, 0xd1, 0x2f), QColor(0xb8, 0xff, 0xa0)};
}

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() * (1 - t) + b.redF() * t,
                            a.greenF() * (1 - t) + b.greenF() * t,
                            a.blueF() * (1 - t) + b.blueF() * t);
}

// One dot in the cell whose top left is (x, y): (pitch - 1) pixels square with softened
// corners, the last row and column of the cell left as grid. Clipped to the image.
void drawDot(QImage& img, int x, int y, int pitch, bool lit, LedColour colour) {
    const int size = pitch - 1;
    const DotColours c = litColours(colour);
    const QColor body = lit ? c.edge : kUnlit;
    const QColor corner = mix(body, kGrid, 0.6);
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            const int px = x + i, py = y + j;
            if (px < 0 || py < 0 || px >= img.width() || py >= img.height()) continue;
            const bool edgeI = i == 0 || i == size - 1, edgeJ = j == 0 || j == size - 1;
            QColor col = body;
            if (size >= 4 && edgeI && edgeJ)
                col = corner;
            else if (lit && !edgeI && !edgeJ)
                col = c.core;
            img.setPixelColor(px, py, col);
        }
    }
}

QImage gridImage(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kGrid);
    return img;
}

}  // namespace

int Glyph::columns() const {
    return int(std::strlen(rows[0]));
}

std::span<const Glyph> glyphFont() {
    return kFont;
}

const Glyph* glyphOf(char ch) {
    for (const Glyph& g : kFont)
        if (g.ch == ch) return &g;
    return nullptr;
}

QImage makeGlyphStrip(LedColour colour) {
    const int width = colour == LedColour::Orange ? kOrangeStripWidth : kGreenStripWidth;
    QImage img = gridImage({width, kStripHeight});
    // Unlit dots everywhere, including the partial row at the bottom that meets the
    // dot rows of the blank column when a character is placed 5 pixels down.
    for (int y = 0; y < kStripHeight; y += kDotPitch)
        for (int x = 0; x < width; x += kDotPitch) drawDot(img, x, y, kDotPitch, false, colour);
    int left = 0;
    for (const Glyph& g : kFont) {
        for (int row = 0; row < kGlyphRows; ++row)
            for (int col = 0; col < g.columns(); ++col)
                if (g.rows[row][col] == '#')
                    drawDot(img, left + (col + 1) * kDotPitch, row * kDotPitch, kDotPitch, true,
                            colour);
        left += g.width();
    }
    return img;
}

QImage makeBlankColumn() {
    QImage img = gridImage({kBlankColumnWidth, kBlankColumnHeight});
    for (int y = 0; y + kDotPitch <= kBlankColumnHeight; y += kDotPitch)
        drawDot(img, 0, y, kDotPitch, false, LedColour::Green);
    return img;
}

QImage makeBadge(QSize size, const QString& text, int pitch, LedColour colour) {
    QImage img = gridImage(size);
    const int cols = size.width() / pitch, rows = size.height() / pitch;
    int textCols = 0;
    for (QChar ch : text)
        if (const Glyph* g = glyphOf(char(ch.toLatin1()))) textCols += g->columns() + 1;
    textCols -= 1;
    const int col0 = (cols - textCols) / 2, row0 = (rows - kGlyphRows) / 2;
    const int offX = (size.width() - cols * pitch) / 2 + 1,
              offY = (size.height() - rows * pitch) / 2 + 1;
    QVector<bool> lit(cols * rows, false);
    int c = col0;
    for (QChar ch : text) {
        const Glyph* g = glyphOf(char(ch.toLatin1()));
        if (!g) continue;
        for (int row = 0; row < kGlyphRows; ++row)
            for (int col = 0; col < g->columns(); ++col) {
                const int x = c + col, y = row0 + row;
                if (g->rows[row][col] == '#' && x >= 0 && x < cols && y >= 0 && y < rows)
                    lit[y * cols + x] = true;
            }
        c += g->columns() + 1;
    }
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            drawDot(img, offX + x * pitch, offY + y * pitch, pitch, lit[y * cols + x], colour);
    return img;
}

const QPixmap& glyphStrip(LedColour colour) {
    // Kept for the life of the process: no destruction after the application is gone.
    static const QPixmap* green = new QPixmap(QPixmap::fromImage(makeGlyphStrip(LedColour::Green)));
    static const QPixmap* orange =
        new QPixmap(QPixmap::fromImage(makeGlyphStrip(LedColour::Orange)));
    return colour == LedColour::Orange ? *orange : *green;
}

const QPixmap& blankColumn() {
    static const QPixmap* col = new QPixmap(QPixmap::fromImage(makeBlankColumn()));
    return *col;
}

}  // namespace vantaled
