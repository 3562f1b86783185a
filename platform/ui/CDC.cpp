#include "CDC.h"

#include "QtText.h"
#include "UiInternal.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <map>
#include <mutex>
#include <vector>

using namespace kavrino;

namespace {

QColor ToColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromColor(QRgb c) {
    return RGB(static_cast<BYTE>(qRed(c)), static_cast<BYTE>(qGreen(c)), static_cast<BYTE>(qBlue(c)));
}

Qt::PenStyle PenStyleOf(int style) {
    switch (style) {
    case PS_DASH:
        return Qt::DashLine;
    case PS_DOT:
        return Qt::DotLine;
    case PS_DASHDOT:
        return Qt::DashDotLine;
    case PS_DASHDOTDOT:
        return Qt::DashDotDotLine;
    case PS_NULL:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

std::mutex g_tempMutex;
std::map<HDC, std::unique_ptr<CDC>> g_tempDCs;

// The stock objects a context starts with: a black pen, a white brush.
CPen g_blackPen(PS_SOLID, 1, 0x000000);
CPen g_whitePen(PS_SOLID, 1, 0xFFFFFF);
CPen g_nullPen(PS_NULL, 1, 0);
CBrush g_whiteBrush(0xFFFFFF);
CBrush g_blackBrush(0x000000);
CBrush g_nullBrush;

} // namespace

struct CDC::Saved {
    struct State {
        CPen* pen;
        CBrush* brush;
        CFont* font;
        COLORREF textColor;
        COLORREF bkColor;
        int bkMode;
        UINT textAlign;
        QPoint origin;
    };
    std::vector<State> states;
};

namespace kavrino {
void ReleaseTempDC(HDC hdc) {
    std::unique_ptr<CDC> dc;
    {
        std::lock_guard<std::mutex> lock(g_tempMutex);
        auto it = g_tempDCs.find(hdc);
        if (it == g_tempDCs.end())
            return;
        dc = std::move(it->second);
        g_tempDCs.erase(it);
    }
    dc->Detach();
}
} // namespace kavrino

CDC::CDC() = default;

CDC::~CDC() {
    delete m_saved;
    delete m_ownSurface;
}

CDC* CDC::FromHandle(HDC hdc) {
    if (!hdc)
        return nullptr;
    std::lock_guard<std::mutex> lock(g_tempMutex);
    std::unique_ptr<CDC>& dc = g_tempDCs[hdc];
    if (!dc) {
        dc = std::make_unique<CDC>();
        dc->m_hDC = hdc;
    }
    return dc.get();
}

BOOL CDC::Attach(HDC hdc) {
    if (m_hDC || !hdc)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    int w = 1, h = 1;
    if (dc && dc->Surface()) {
        w = dc->Surface()->Image().width();
        h = dc->Surface()->Image().height();
    }
    delete m_ownSurface;
    m_ownSurface = new ImageSurface(w, h);
    m_hDC = ToHdc(m_ownSurface);
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (m_ownSurface && m_hDC == ToHdc(m_ownSurface))
        m_hDC = nullptr;
    delete m_ownSurface;
    m_ownSurface = nullptr;
    return TRUE;
}

CPen* CDC::SelectObject(CPen* pen) {
    CPen* old = m_pen ? m_pen : &g_blackPen;
    m_pen = pen;
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    CBrush* old = m_brush ? m_brush : &g_whiteBrush;
    m_brush = brush;
    return old;
}

CFont* CDC::SelectObject(CFont* font) {
    CFont* old = m_font;
    m_font = font;
    return old;
}

CGdiObject* CDC::SelectStockObject(int index) {
    switch (index) {
    case WHITE_BRUSH:
        return SelectObject(&g_whiteBrush);
    case BLACK_BRUSH:
        return SelectObject(&g_blackBrush);
    case NULL_BRUSH:
        return SelectObject(&g_nullBrush);
    case WHITE_PEN:
        return SelectObject(&g_whitePen);
    case BLACK_PEN:
        return SelectObject(&g_blackPen);
    case NULL_PEN:
        return SelectObject(&g_nullPen);
    default:
        return nullptr;
    }
}

COLORREF CDC::SetTextColor(COLORREF color) {
    COLORREF old = m_textColor;
    m_textColor = color;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    COLORREF old = m_bkColor;
    m_bkColor = color;
    return old;
}

int CDC::SetBkMode(int mode) {
    int old = m_bkMode;
    m_bkMode = mode;
    return old;
}

UINT CDC::SetTextAlign(UINT flags) {
    UINT old = m_textAlign;
    m_textAlign = flags;
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    CPoint old = GetViewportOrg();
    if (DeviceSurface* s = Surface())
        s->origin = QPoint(x, y);
    return old;
}

CPoint CDC::GetViewportOrg() const {
    DeviceSurface* s = Surface();
    return s ? CPoint(s->origin.x(), s->origin.y()) : CPoint();
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    CPoint old = GetViewportOrg();
    SetViewportOrg(old.x + dx, old.y + dy);
    return old;
}

bool CDC::Begin(QPainter& painter) const {
    DeviceSurface* s = Surface();
    if (!s || s->Image().isNull())
        return false;
    if (!painter.begin(&s->Image()))
        return false;
    painter.translate(s->origin);
    painter.setFont(CurrentFont());
    return true;
}

QFont CDC::CurrentFont() const {
    if (m_font)
        return m_font->Font();
    const DeviceSurface* s = Surface();
    return s && s->font ? *s->font : QGuiApplication::font();
}

QColor CDC::PenColor() const {
    return ToColor(m_pen ? m_pen->Color() : 0x000000);
}

void CDC::Drawn() {}

CPoint CDC::MoveTo(int x, int y) {
    CPoint old = m_pos;
    m_pos = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y) {
    QPainter p;
    if (Begin(p)) {
        const CPen* pen = m_pen ? m_pen : &g_blackPen;
        if (pen->Style() != PS_NULL) {
            QPen qpen(ToColor(pen->Color()), std::max(1, pen->Width()), PenStyleOf(pen->Style()));
            qpen.setCapStyle(Qt::FlatCap);
            p.setPen(qpen);
            p.drawLine(m_pos.x, m_pos.y, x, y);
        }
        p.end();
        Drawn();
    }
    m_pos = CPoint(x, y);
    return TRUE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    QPainter p;
    if (!Begin(p))
        return FALSE;
    const QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)),
                  QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    const CBrush* brush = m_brush ? m_brush : &g_whiteBrush;
    if (brush->GetSafeHandle())
        p.fillRect(r, ToColor(brush->Color()));
    const CPen* pen = m_pen ? m_pen : &g_blackPen;
    if (pen->Style() != PS_NULL) {
        p.setPen(QPen(ToColor(pen->Color()), std::max(1, pen->Width()), PenStyleOf(pen->Style())));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    p.end();
    Drawn();
    return TRUE;
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
    QPainter p;
    if (!Begin(p))
        return FALSE;
    const CBrush* brush = m_brush ? m_brush : &g_whiteBrush;
    const CPen* pen = m_pen ? m_pen : &g_blackPen;
    p.setBrush(brush->GetSafeHandle() ? QBrush(ToColor(brush->Color())) : QBrush(Qt::NoBrush));
    p.setPen(pen->Style() == PS_NULL ? QPen(Qt::NoPen)
                                     : QPen(ToColor(pen->Color()), std::max(1, pen->Width())));
    p.drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
    p.end();
    Drawn();
    return TRUE;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    if (rect)
        FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    // As the original, the fill leaves the colour as the background colour.
    m_bkColor = color;
    QPainter p;
    if (!Begin(p))
        return;
    p.fillRect(QRect(x, y, cx, cy).normalized(), ToColor(color));
    p.end();
    Drawn();
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    if (!rect || !brush)
        return;
    QPainter p;
    if (!Begin(p))
        return;
    p.fillRect(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)),
               ToColor(brush->Color()));
    p.end();
    Drawn();
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    if (!rect || !brush)
        return;
    const int w = rect->right - rect->left, h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0)
        return;
    const COLORREF keep = m_bkColor;
    const COLORREF c = brush->Color();
    FillSolidRect(rect->left, rect->top, w, 1, c);
    FillSolidRect(rect->left, rect->bottom - 1, w, 1, c);
    FillSolidRect(rect->left, rect->top, 1, h, c);
    FillSolidRect(rect->right - 1, rect->top, 1, h, c);
    m_bkColor = keep;
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
                   bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    const COLORREF keep = m_bkColor;
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
    m_bkColor = keep;
}

void CDC::DrawFocusRect(LPCRECT rect) {
    if (!rect)
        return;
    QPainter p;
    if (!Begin(p))
        return;
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 2, rect->bottom - 2)));
    p.end();
    Drawn();
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text.GetString(), text.GetLength(), rect, format);
}

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
    if (!text || !rect)
        return 0;
    QString q = count < 0 ? QString::fromWCharArray(text) : QString::fromWCharArray(text, count);
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        flags |= (format & DT_VCENTER)  ? Qt::AlignVCenter
                 : (format & DT_BOTTOM) ? Qt::AlignBottom
                                        : Qt::AlignTop;
        q.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace('\n', ' ');
    } else {
        flags |= Qt::AlignTop;
        q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    const QRect r(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
    const QFontMetrics metrics(CurrentFont());
    QRect bounds = metrics.boundingRect(r, flags, q);
    if (format & DT_CALCRECT) {
        rect->right = rect->left + bounds.width();
        rect->bottom = rect->top + bounds.height();
        return bounds.height();
    }
    QPainter p;
    if (!Begin(p))
        return 0;
    if (!(format & DT_NOCLIP))
        p.setClipRect(r);
    if (m_bkMode == OPAQUE)
        p.fillRect(bounds, ToColor(m_bkColor));
    p.setPen(ToColor(m_textColor));
    p.drawText(r, flags, q);
    p.end();
    Drawn();
    return bounds.height();
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, text.GetString(), text.GetLength());
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
    if (!text)
        return FALSE;
    const QString q = QString::fromWCharArray(text, std::max(count, 0));
    QPainter p;
    if (!Begin(p))
        return FALSE;
    const QFontMetrics metrics = p.fontMetrics();
    const int width = metrics.horizontalAdvance(q);
    int left = x;
    if ((m_textAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (m_textAlign & TA_RIGHT)
        left = x - width;
    const QRect box(left, y, width, metrics.height());
    if (m_bkMode == OPAQUE)
        p.fillRect(box, ToColor(m_bkColor));
    p.setPen(ToColor(m_textColor));
    p.drawText(left, y + metrics.ascent(), q);
    p.end();
    Drawn();
    return TRUE;
}

CSize CDC::GetTextExtent(const CString& text) const {
    const QFontMetrics metrics(CurrentFont());
    const QString q = ToQString(text);
    return CSize(metrics.horizontalAdvance(q), metrics.height());
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    DeviceSurface* s = Surface();
    if (!s)
        return static_cast<COLORREF>(-1);
    QImage& image = s->Image();
    const QPoint d = QPoint(x, y) + s->origin;
    if (!image.rect().contains(d))
        return static_cast<COLORREF>(-1);
    image.setPixel(d, ToColor(color).rgb());
    return color;
}

COLORREF CDC::GetPixel(int x, int y) const {
    DeviceSurface* s = Surface();
    if (!s)
        return static_cast<COLORREF>(-1);
    QImage& image = s->Image();
    const QPoint d = QPoint(x, y) + s->origin;
    if (!image.rect().contains(d))
        return static_cast<COLORREF>(-1);
    return FromColor(image.pixel(d));
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    const QPixmap pixmap = IconPixmap(icon);
    if (pixmap.isNull())
        return FALSE;
    QPainter p;
    if (!Begin(p))
        return FALSE;
    p.drawPixmap(x, y, pixmap);
    p.end();
    Drawn();
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD) {
    if (!src || !src->Surface())
        return FALSE;
    const QImage from = src->Surface()->Image().copy(
        QRect(QPoint(xSrc, ySrc) + src->Surface()->origin, QSize(width, height)));
    QPainter p;
    if (!Begin(p))
        return FALSE;
    p.drawImage(x, y, from);
    p.end();
    Drawn();
    return TRUE;
}

int CDC::SaveDC() {
    if (!m_saved)
        m_saved = new Saved;
    DeviceSurface* s = Surface();
    m_saved->states.push_back(
        {m_pen, m_brush, m_font, m_textColor, m_bkColor, m_bkMode, m_textAlign, s ? s->origin : QPoint()});
    return static_cast<int>(m_saved->states.size());
}

BOOL CDC::RestoreDC(int saved) {
    if (!m_saved || m_saved->states.empty())
        return FALSE;
    std::size_t index = saved < 0 ? m_saved->states.size() + static_cast<std::size_t>(saved)
                                  : static_cast<std::size_t>(saved) - 1;
    if (index >= m_saved->states.size())
        return FALSE;
    const Saved::State st = m_saved->states[index];
    m_saved->states.resize(index);
    m_pen = st.pen;
    m_brush = st.brush;
    m_font = st.font;
    m_textColor = st.textColor;
    m_bkColor = st.bkColor;
    m_bkMode = st.bkMode;
    m_textAlign = st.textAlign;
    if (DeviceSurface* s = Surface())
        s->origin = st.origin;
    return TRUE;
}
