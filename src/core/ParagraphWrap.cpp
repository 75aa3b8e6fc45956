#include "core/ParagraphWrap.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextLayout>
#include <QTextLine>
#include <optional>

namespace corvane {

namespace {

thread_local ParagraphWrapCache* currentWrapCache = nullptr;

// Whether the paragraph is surely one line at the width: it holds nothing that breaks a line of
// its own accord, and the advances of its characters add up to the width with a line's height to
// spare (for what the line breaking adds: kerning, and how far a glyph reaches past its advance).
// Most values are such a line; the characters' advances are remembered by the cache, so this
// costs neither shaping nor breaking.
bool fitsOnOneLine(const QString& text, const QFont& font, QPaintDevice* device, double width,
                   ParagraphWrapCache::FaceAdvances& face)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x00AD || u == 0x200B || u == 0x2028 || u == 0x2029 || c.isSurrogate())
            return false;
    }
    std::optional<QFontMetricsF> metrics;
    const auto measure = [&]() -> const QFontMetricsF& {
        if (!metrics)
            metrics.emplace(font, device);
        return *metrics;
    };
    if (face.lineHeight < 0)
        face.lineHeight = measure().height();
    double total = face.lineHeight;
    for (const QChar c : text) {
        auto found = face.advances.constFind(c.unicode());
        if (found == face.advances.cend())
            found = face.advances.insert(c.unicode(), measure().horizontalAdvance(c));
        total += *found;
        if (total > width)
            return false;
    }
    return true;
}

ShapedParagraph layOutParagraph(const QString& text, const QFont& font, QPaintDevice* device, double width,
                                bool withGlyphs)
{
    ShapedParagraph paragraph;
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<QTextLine> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        paragraph.lines.append({line.textStart(), line.textLength()});
        lines.append(line);
    }
    layout.endLayout();
    if (!withGlyphs)
        return paragraph;
    for (const QTextLine& line : lines) {
        // A line's runs leave out the spaces it ends in, which drawing its text draws.
        if (line.textLength() > 0 && text.at(line.textStart() + line.textLength() - 1).isSpace()) {
            paragraph.glyphs.append(QList<QGlyphRun>());
            continue;
        }
        // The runs stand where the layout put them: move them to the line's start and baseline.
        const QPointF origin(line.x(), line.y() + line.ascent());
        QList<QGlyphRun> runs = line.glyphRuns(line.textStart(), line.textLength());
        for (QGlyphRun& run : runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& position : positions)
                position -= origin;
            run.setPositions(positions);
        }
        paragraph.glyphs.append(runs);
    }
    return paragraph;
}

template <typename Value>
const Value* remembered(const QHash<ParagraphWrapCache::Key, Value>& memory, const ParagraphWrapCache::Key& key)
{
    if (const auto found = memory.constFind(key); found != memory.cend())
        return &found.value();
    return nullptr;
}

}

ParagraphWrapCache::ParagraphWrapCache() : m_previous(currentWrapCache)
{
    currentWrapCache = this;
}

ParagraphWrapCache::~ParagraphWrapCache()
{
    currentWrapCache = m_previous;
}

size_t qHash(const ParagraphWrapCache::Key& key, size_t seed)
{
    return qHashMulti(seed, key.text, key.font, key.deviceType, key.dpiX, key.dpiY, key.width);
}

QList<std::pair<int, int>> wrapParagraph(const QString& text, const QFont& font, QPaintDevice* device,
                                         double width)
{
    if (text.isEmpty())
        return {{0, 0}};
    ParagraphWrapCache* cache = currentWrapCache;
    // Without a device the font's own resolution counts, which the key does not hold. Without a
    // cache there are no remembered advances, and measuring first would only add to the layout.
    if (!cache || !device)
        return layOutParagraph(text, font, device, width, false).lines;
    ParagraphWrapCache::Key key{text, font, device->devType(), device->logicalDpiX(), device->logicalDpiY(), width};
    if (const auto* lines = remembered(cache->m_lines, key)) {
        ++cache->m_hits;
        return *lines;
    }
    // The characters' advances in this font on this kind of device.
    ParagraphWrapCache::FaceAdvances& face =
        cache->m_characterAdvances[ParagraphWrapCache::Key{QString(), font, key.deviceType, key.dpiX, key.dpiY, 0}];
    QList<std::pair<int, int>> lines = fitsOnOneLine(text, font, device, width, face)
                                           ? QList<std::pair<int, int>>{{0, int(text.size())}}
                                           : layOutParagraph(text, font, device, width, false).lines;
    ++cache->m_layouts;
    if (cache->m_lines.size() < ParagraphWrapCache::capacity)
        cache->m_lines.insert(std::move(key), lines);
    return lines;
}

ShapedParagraph shapeParagraph(const QString& text, const QFont& font, QPaintDevice* device, double width)
{
    if (text.isEmpty())
        return {{{0, 0}}, {{}}};
    // Taking the glyphs out of a layout costs about what shaping the line again costs: only a
    // paragraph seen before (one that repeats, as a batch's sender does) is given its glyphs.
    ParagraphWrapCache* cache = currentWrapCache;
    if (!cache || !device)
        return {wrapParagraph(text, font, device, width), {}};
    ParagraphWrapCache::Key key{text, font, device->devType(), device->logicalDpiX(), device->logicalDpiY(), width};
    if (const auto* shaped = remembered(cache->m_shaped, key)) {
        ++cache->m_hits;
        return *shaped;
    }
    if (!remembered(cache->m_lines, key))
        return {wrapParagraph(text, font, device, width), {}};
    ShapedParagraph shaped = layOutParagraph(text, font, device, width, true);
    ++cache->m_layouts;
    if (cache->m_shaped.size() < ParagraphWrapCache::capacity)
        cache->m_shaped.insert(std::move(key), shaped);
    return shaped;
}

double textAdvance(const QString& text, const QFont& font, QPaintDevice* device)
{
    ParagraphWrapCache* cache = currentWrapCache;
    if (!cache || !device)
        return QFontMetricsF(font, device).horizontalAdvance(text);
    ParagraphWrapCache::Key key{text, font, device->devType(), device->logicalDpiX(), device->logicalDpiY(), 0};
    if (const double* advance = remembered(cache->m_advances, key)) {
        ++cache->m_hits;
        return *advance;
    }
    const double advance = QFontMetricsF(font, device).horizontalAdvance(text);
    ++cache->m_layouts;
    if (cache->m_advances.size() < ParagraphWrapCache::capacity)
        cache->m_advances.insert(std::move(key), advance);
    return advance;
}

}
