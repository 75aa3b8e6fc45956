#pragma once
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>
#include <utility>

class QPaintDevice;

namespace corvane {

// The line breaks of one paragraph at a width in the font on the device, at word boundaries
// or, for a word too long for a line, anywhere: (start, length) of every line. An empty
// paragraph is one empty line.
QList<std::pair<int, int>> wrapParagraph(const QString& text, const QFont& font, QPaintDevice* device,
                                         double width);

// The lines of wrapParagraph with the glyphs of each, as laid out for the breaks: glyph runs
// placed from the line's start (x 0) on its baseline (y 0). Drawing them draws what drawText
// draws for the line, without shaping the text again. Only a paragraph that a wrap cache has
// seen before is given glyphs; the lines of any other have none (draw their text).
struct ShapedParagraph {
    QList<std::pair<int, int>> lines;
    QList<QList<QGlyphRun>> glyphs; // one entry per line; none where only the text draws it whole
};
ShapedParagraph shapeParagraph(const QString& text, const QFont& font, QPaintDevice* device, double width);

// The advance of the text on one line in the font on the device (QFontMetricsF::horizontalAdvance).
double textAdvance(const QString& text, const QFont& font, QPaintDevice* device);

// While one lives, wrapParagraph, shapeParagraph and textAdvance on this thread remember the breaks it finds and answers the
// same paragraph in the same font at the same width on a device of the same kind and resolution
// from memory: a batch repeats the sender and most values on every page. The breaks depend on
// nothing else, so a remembered answer is the one a fresh layout would give. A cache made while
// another lives takes over until it ends. Bounded: once it holds `capacity` paragraphs of a
// kind it remembers no more of them (what a batch repeats is on its first pages).
class ParagraphWrapCache {
public:
    static constexpr int capacity = 4096;

    ParagraphWrapCache();
    ~ParagraphWrapCache();
    ParagraphWrapCache(const ParagraphWrapCache&) = delete;
    ParagraphWrapCache& operator=(const ParagraphWrapCache&) = delete;

    // Paragraphs laid out afresh / answered from memory while this cache was current.
    int layouts() const { return m_layouts; }
    int hits() const { return m_hits; }

    struct Key {
        QString text;
        QFont font;
        int deviceType;
        int dpiX;
        int dpiY;
        double width;
        bool operator==(const Key& other) const = default;
    };
    // A font's line height and characters' advances on a kind of device, as measured so far.
    struct FaceAdvances {
        double lineHeight = -1;
        QHash<char16_t, double> advances;
    };

private:
    friend QList<std::pair<int, int>> wrapParagraph(const QString&, const QFont&, QPaintDevice*, double);
    friend ShapedParagraph shapeParagraph(const QString&, const QFont&, QPaintDevice*, double);
    friend double textAdvance(const QString&, const QFont&, QPaintDevice*);

    QHash<Key, QList<std::pair<int, int>>> m_lines;
    QHash<Key, ShapedParagraph> m_shaped;
    QHash<Key, double> m_advances; // width 0
    QHash<Key, FaceAdvances> m_characterAdvances; // no text, width 0
    ParagraphWrapCache* m_previous;
    int m_layouts = 0;
    int m_hits = 0;
};

size_t qHash(const ParagraphWrapCache::Key& key, size_t seed = 0);

}
