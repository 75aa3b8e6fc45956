#pragma once
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPicture>
#include <QPointF>
#include <QRect>
#include <QString>

class QPainter;
class QPaintDevice;

namespace corvane {

// What the page engine draws a page with: filled rectangles and lines of text, in device
// pixels. A printer's sheet is painted at once; a preview page is written down and painted
// only when it is looked at.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;
    // The device whose resolution and type metrics the page is laid out in.
    virtual QPaintDevice* device() = 0;
    virtual void fillRect(const QRect& rect, const QColor& colour) = 0;
    virtual void setPen(const QColor& colour) = 0;
    // One line of text at its start on its baseline, in the font made for the device; the glyphs
    // the line breaking found for it, when the canvas takes them (empty: only the text is known).
    virtual void drawLine(const QPointF& start, const QString& text, const QFont& deviceFont,
                          const QList<QGlyphRun>& glyphs) = 0;
    // Whether drawLine wants glyphs (the PDF writer); otherwise only the text counts.
    virtual bool takesGlyphRuns() const = 0;
};

// A canvas that paints with a painter at once. The PDF writer (a PDF file, or a CUPS queue) is
// given the glyphs, so a line is not shaped a second time; other devices are given the text.
class PainterCanvas final : public PageCanvas {
public:
    explicit PainterCanvas(QPainter& painter);
    QPaintDevice* device() override;
    void fillRect(const QRect& rect, const QColor& colour) override;
    void setPen(const QColor& colour) override;
    void drawLine(const QPointF& start, const QString& text, const QFont& deviceFont,
                  const QList<QGlyphRun>& glyphs) override;
    bool takesGlyphRuns() const override { return m_glyphRuns; }
    QPainter& painter() { return m_painter; }

private:
    QPainter& m_painter;
    bool m_glyphRuns;
};

// A page written down as it is drawn, to be painted later onto a recording (QPicture) as
// a painter would have drawn it: a preview page costs no shaping until it is looked at.
// The types used are kept in a table of their own, shared by the pages of a run.
class PageRecording final : public PageCanvas {
public:
    explicit PageRecording(QList<QFont>* fonts);
    // Starts a page of the given bounds, forgetting what was written before.
    void begin(const QRect& bounds);
    const QByteArray& bytes() const { return m_bytes; }

    QPaintDevice* device() override { return &m_metrics; }
    void fillRect(const QRect& rect, const QColor& colour) override;
    void setPen(const QColor& colour) override;
    void drawLine(const QPointF& start, const QString& text, const QFont& deviceFont,
                  const QList<QGlyphRun>& glyphs) override;
    bool takesGlyphRuns() const override { return false; }

    // The page written in `bytes` with the types of `fonts`, as a recording; nullptr when the
    // bytes are not such a page.
    static std::unique_ptr<QPicture> play(const QByteArray& bytes, const QList<QFont>& fonts);

private:
    int fontIndex(const QFont& font);

    QList<QFont>* m_fonts;
    int m_lastFont = -1;
    QByteArray m_bytes;
    QPicture m_metrics; // the resolution recordings are laid out in (the screen's)
};

}
