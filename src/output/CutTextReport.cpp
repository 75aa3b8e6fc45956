#include "output/CutTextReport.h"

#include <QSet>

namespace corvane {

QString cutTextSummary(const QList<TPageRun::CutText>& cuts)
{
    if (cuts.isEmpty())
        return {};
    QSet<int> pages;
    for (const TPageRun::CutText& cut : cuts)
        pages.insert(cut.page);
    return QStringLiteral("%1 页共 %2 处文字未能完整打印").arg(pages.size()).arg(cuts.size());
}

QStringList cutTextLines(const QList<TPageRun::CutText>& cuts)
{
    QStringList lines;
    lines.reserve(cuts.size());
    for (const TPageRun::CutText& cut : cuts) {
        // A value with line breaks of its own is shown on one line.
        QString value = cut.value;
        value.replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << QStringLiteral("第 %1 页  %2：%3").arg(cut.page).arg(cut.field, value);
    }
    return lines;
}

}
