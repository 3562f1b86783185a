#include "GlyphCache.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace kavrino::gdip {

namespace {
constexpr std::size_t kExpectedCharacters = 512;
constexpr std::size_t kExpectedFonts = 4;

bool IsLineBreak(wchar_t c) {
    return c == L'\n' || c == L'\r';
}
} // namespace

GlyphCache::GlyphCache(const QFont& font) : m_font(font) {
    const QFontMetricsF metrics(m_font);
    m_leading = metrics.leading();
    m_ascent = metrics.ascent();
    m_descent = metrics.descent();
    m_indexes.resize(kMaxGlyphs);
    m_positions.resize(kMaxGlyphs);
    m_lineFonts.reserve(kExpectedFonts);
    m_fonts.reserve(kExpectedFonts);
    m_runs.reserve(kExpectedFonts);
    m_glyphs.reserve(kExpectedCharacters);
    // The characters of numbers, names and formats are ready before the first text is drawn: looked up,
    // and drawn once so that the font has made their pictures.
    for (char16_t c = 0x20; c < 0x7F; ++c)
        Find(c);
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    for (std::size_t font = 0; font < m_fonts.size(); ++font) {
        // A font that places glyphs between pixels keeps a picture for each quarter of a pixel.
        for (const qreal offset : {0.0, 0.25, 0.5, 0.75}) {
            int count = 0;
            for (char16_t c = 0x20; c < 0x7F; ++c) {
                const Glyph& glyph = Find(c);
                if (glyph.font != static_cast<int>(font))
                    continue;
                m_indexes[static_cast<std::size_t>(count)] = glyph.index;
                m_positions[static_cast<std::size_t>(count)] = QPointF(offset, 0);
                ++count;
            }
            m_runs[font].setRawData(m_indexes.data(), m_positions.data(), count);
            painter.drawGlyphRun(QPointF(0, 0), m_runs[font]);
        }
    }
}

int GlyphCache::FontIndex(const QRawFont& font) {
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i] == font)
            return static_cast<int>(i);
    m_fonts.push_back(font);
    m_runs.emplace_back();
    m_runs.back().setRawFont(font);
    return static_cast<int>(m_fonts.size() - 1);
}

const GlyphCache::Glyph& GlyphCache::Find(char16_t c) {
    const auto it = m_glyphs.find(c);
    if (it != m_glyphs.end())
        return it->second;
    Glyph glyph;
    const QString text(QChar(static_cast<ushort>(c)));
    glyph.advance = QFontMetricsF(m_font).horizontalAdvance(text);
    QTextLayout layout(text, m_font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (run.glyphIndexes().isEmpty())
            continue;
        glyph.index = run.glyphIndexes().front();
        glyph.font = FontIndex(run.rawFont());
        break;
    }
    return m_glyphs.emplace(c, glyph).first->second;
}

void GlyphCache::DrawLine(QPainter& painter, const wchar_t* begin, const wchar_t* end, qreal x, qreal top,
                          qreal& height) {
    qreal ascent = 0;
    qreal descent = 0;
    m_lineFonts.clear();
    for (const wchar_t* p = begin; p != end; ++p) {
        const Glyph& glyph = Find(static_cast<char16_t>(*p));
        if (glyph.font < 0)
            continue;
        const QRawFont& font = m_fonts[static_cast<std::size_t>(glyph.font)];
        ascent = std::max(ascent, font.ascent());
        descent = std::max(descent, font.descent());
        if (std::find(m_lineFonts.begin(), m_lineFonts.end(), glyph.font) == m_lineFonts.end())
            m_lineFonts.push_back(glyph.font);
    }
    if (m_lineFonts.empty()) {
        ascent = m_ascent;
        descent = m_descent;
    }
    height = ascent + descent;
    const qreal baseline = top + ascent;
    // One run per font: its glyphs at their places along the line.
    for (const int font : m_lineFonts) {
        int count = 0;
        qreal pen = x;
        for (const wchar_t* p = begin; p != end; ++p) {
            const Glyph& glyph = Find(static_cast<char16_t>(*p));
            if (glyph.font == font) {
                m_indexes[static_cast<std::size_t>(count)] = glyph.index;
                m_positions[static_cast<std::size_t>(count)] = QPointF(pen, baseline);
                ++count;
            }
            pen += glyph.advance;
        }
        QGlyphRun& run = m_runs[static_cast<std::size_t>(font)];
        run.setRawData(m_indexes.data(), m_positions.data(), count);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

bool GlyphCache::Draw(QPainter& painter, const wchar_t* text, int length, QPointF origin) {
    if (!text || length < 0 || length > kMaxGlyphs)
        return false;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const wchar_t* const end = text + length;
    const wchar_t* line = text;
    qreal top = origin.y();
    for (;;) {
        const wchar_t* stop = std::find_if(line, end, IsLineBreak);
        qreal height = 0;
        DrawLine(painter, line, stop, origin.x(), top, height);
        if (stop == end)
            break;
        top += height + m_leading;
        if (*stop == L'\r' && stop + 1 != end && stop[1] == L'\n')
            ++stop;
        line = stop + 1;
    }
    return true;
}

} // namespace kavrino::gdip
