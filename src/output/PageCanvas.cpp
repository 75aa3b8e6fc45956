#include "output/PageCanvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <cstring>

namespace corvane {

PainterCanvas::PainterCanvas(QPainter& painter)
    : m_painter(painter),
      m_glyphRuns(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf)
{
}

QPaintDevice* PainterCanvas::device()
{
    return m_painter.device();
}

void PainterCanvas::fillRect(const QRect& rect, const QColor& colour)
{
    m_painter.fillRect(rect, colour);
}

void PainterCanvas::setPen(const QColor& colour)
{
    m_painter.setPen(colour);
}

void PainterCanvas::drawLine(const QPointF& start, const QString& text, const QFont& deviceFont,
                             const QList<QGlyphRun>& glyphs)
{
    if (m_painter.font() != deviceFont)
        m_painter.setFont(deviceFont);
    if (!m_glyphRuns || glyphs.isEmpty()) {
        m_painter.drawText(start, text);
        return;
    }
    for (const QGlyphRun& run : glyphs)
        m_painter.drawGlyphRun(start, run);
}

namespace {

// Page records: a byte for the kind, then its values in this machine's byte order (the bytes
// never leave the process).
enum Record : char { Bounds = 1, Fill = 2, Pen = 3, Text = 4 };

template <typename T>
void put(QByteArray& bytes, const T& value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
bool take(const QByteArray& bytes, qsizetype& at, T& value)
{
    if (at + qsizetype(sizeof value) > bytes.size())
        return false;
    std::memcpy(&value, bytes.constData() + at, sizeof value);
    at += sizeof value;
    return true;
}

void putRect(QByteArray& bytes, const QRect& rect)
{
    put(bytes, qint32(rect.x()));
    put(bytes, qint32(rect.y()));
    put(bytes, qint32(rect.width()));
    put(bytes, qint32(rect.height()));
}

bool takeRect(const QByteArray& bytes, qsizetype& at, QRect& rect)
{
    qint32 x = 0, y = 0, w = 0, h = 0;
    if (!take(bytes, at, x) || !take(bytes, at, y) || !take(bytes, at, w) || !take(bytes, at, h))
        return false;
    rect = QRect(x, y, w, h);
    return true;
}

}

PageRecording::PageRecording(QList<QFont>* fonts) : m_fonts(fonts) {}

void PageRecording::begin(const QRect& bounds)
{
    m_bytes.clear();
    m_bytes.append(char(Bounds));
    putRect(m_bytes, bounds);
}

void PageRecording::fillRect(const QRect& rect, const QColor& colour)
{
    m_bytes.append(char(Fill));
    putRect(m_bytes, rect);
    put(m_bytes, colour.rgba64());
}

void PageRecording::setPen(const QColor& colour)
{
    m_bytes.append(char(Pen));
    put(m_bytes, colour.rgba64());
}

int PageRecording::fontIndex(const QFont& font)
{
    if (m_lastFont >= 0 && m_lastFont < m_fonts->size() && m_fonts->at(m_lastFont) == font)
        return m_lastFont;
    m_lastFont = int(m_fonts->indexOf(font));
    if (m_lastFont < 0) {
        m_lastFont = int(m_fonts->size());
        m_fonts->append(font);
    }
    return m_lastFont;
}

void PageRecording::drawLine(const QPointF& start, const QString& text, const QFont& deviceFont,
                             const QList<QGlyphRun>&)
{
    m_bytes.append(char(Text));
    put(m_bytes, start.x());
    put(m_bytes, start.y());
    put(m_bytes, qint32(fontIndex(deviceFont)));
    put(m_bytes, qint32(text.size()));
    m_bytes.append(reinterpret_cast<const char*>(text.constData()), text.size() * qsizetype(sizeof(QChar)));
}

std::unique_ptr<QPicture> PageRecording::play(const QByteArray& bytes, const QList<QFont>& fonts)
{
    auto picture = std::make_unique<QPicture>();
    QPainter painter;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const char kind = bytes.at(at++);
        if (kind == Bounds) {
            QRect bounds;
            if (!takeRect(bytes, at, bounds) || painter.isActive())
                return nullptr;
            picture->setBoundingRect(bounds);
            painter.begin(picture.get());
            continue;
        }
        if (!painter.isActive())
            return nullptr;
        if (kind == Fill) {
            QRect rect;
            QRgba64 colour;
            if (!takeRect(bytes, at, rect) || !take(bytes, at, colour))
                return nullptr;
            painter.fillRect(rect, QColor(colour));
        } else if (kind == Pen) {
            QRgba64 colour;
            if (!take(bytes, at, colour))
                return nullptr;
            painter.setPen(QColor(colour));
        } else if (kind == Text) {
            double x = 0, y = 0;
            qint32 font = 0, size = 0;
            if (!take(bytes, at, x) || !take(bytes, at, y) || !take(bytes, at, font) || !take(bytes, at, size)
                || font < 0 || font >= fonts.size() || size < 0
                || at + qsizetype(size) * qsizetype(sizeof(QChar)) > bytes.size())
                return nullptr;
            QString text(size, Qt::Uninitialized);
            std::memcpy(text.data(), bytes.constData() + at, size_t(size) * sizeof(QChar));
            at += qsizetype(size) * qsizetype(sizeof(QChar));
            if (painter.font() != fonts.at(font))
                painter.setFont(fonts.at(font));
            painter.drawText(QPointF(x, y), text);
        } else {
            return nullptr;
        }
    }
    if (!painter.isActive())
        return nullptr;
    painter.end();
    return picture;
}

}
