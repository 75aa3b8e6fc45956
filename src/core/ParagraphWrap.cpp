#include "core/ParagraphWrap.h"

#include <QPaintDevice>
#include <QTextLayout>

namespace corvane {

namespace {

thread_local ParagraphWrapCache* currentWrapCache = nullptr;

QList<std::pair<int, int>> layOutParagraph(const QString& text, const QFont& font, QPaintDevice* device,
                                           double width)
{
    QList<std::pair<int, int>> lines;
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    return lines;
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
    // Without a device the font's own resolution counts, which the key does not hold.
    if (!cache || !device)
        return layOutParagraph(text, font, device, width);
    ParagraphWrapCache::Key key{text, font, device->devType(), device->logicalDpiX(), device->logicalDpiY(), width};
    if (const auto found = cache->m_lines.constFind(key); found != cache->m_lines.cend()) {
        ++cache->m_hits;
        return found.value();
    }
    QList<std::pair<int, int>> lines = layOutParagraph(text, font, device, width);
    ++cache->m_layouts;
    if (cache->m_lines.size() >= ParagraphWrapCache::capacity)
        cache->m_lines.clear();
    cache->m_lines.insert(std::move(key), lines);
    return lines;
}

}
