#pragma once
// The glyphs of one font, looked up once per character, so that a short text is laid out and drawn
// without allocating memory: each character keeps its glyph, the font that has it (the font itself or
// the fallback the text layout picks) and its advance; a text's layout goes into buffers kept between
// calls. The lines are placed as the painter's own text layout places them (the line height is the
// largest ascent plus descent of the fonts on the line, the font's leading between lines); glyphs are
// not kerned against each other.

#include <QFont>
#include <QGlyphRun>
#include <QPointF>
#include <QRawFont>

#include <mutex>
#include <unordered_map>
#include <vector>

class QPainter;

namespace kavrino::gdip {

class GlyphCache {
public:
    // The longest text laid out here; longer ones are left to the painter's text layout.
    static constexpr int kMaxGlyphs = 256;

    explicit GlyphCache(const QFont& font);

    // Draws the text with the top-left corner of its first line at the origin, in the painter's pen;
    // '\n', '\r' and "\r\n" break the line. False, with nothing drawn, for a text this cache does not
    // lay out (longer than kMaxGlyphs, or characters beyond the Basic Multilingual Plane).
    bool Draw(QPainter& painter, const wchar_t* text, int length, QPointF origin);

private:
    struct Glyph {
        quint32 index = 0;
        qreal advance = 0;
        int font = -1; // index into m_fonts; -1: nothing to draw (a character no font has)
    };

    // The glyph of a character, looked up on its first use.
    const Glyph& Find(char16_t c);
    int FontIndex(const QRawFont& font);
    // Lays out and draws one line [begin, end) with its top at y.
    void DrawLine(QPainter& painter, const wchar_t* begin, const wchar_t* end, qreal x, qreal top,
                  qreal& height);

    QFont m_font;
    qreal m_leading = 0;
    qreal m_ascent = 0;
    qreal m_descent = 0;
    std::vector<QRawFont> m_fonts;
    std::vector<QGlyphRun> m_runs; // one per font, pointed at the buffers below when drawn
    std::unordered_map<char16_t, Glyph> m_glyphs;
    std::vector<quint32> m_indexes;
    std::vector<QPointF> m_positions;
    std::vector<int> m_lineFonts;
    std::mutex m_mutex;
};

} // namespace kavrino::gdip
