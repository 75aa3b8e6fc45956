#pragma once
#include "output/TPageRun.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

// "3 页共 4 处文字未能完整打印", or empty when every text fitted.
QString cutTextSummary(const QList<TPageRun::CutText>& cuts);

// One line per cut text: "第 2 页  收件人城市（大字）：乌鲁木齐".
QStringList cutTextLines(const QList<TPageRun::CutText>& cuts);

}
