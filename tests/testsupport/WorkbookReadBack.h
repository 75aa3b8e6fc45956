#pragma once
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace corvane::test {

using SheetRows = QVector<QStringList>;
using Sheets = QVector<QPair<QString, SheetRows>>;

// An .xls workbook read back by independent readers: every sheet's name and rows, each cell as
// text ("" when empty). On failure the result is empty and *problem says why.
// python3-xlrd runs as another program and accepts only text cells.
Sheets readWithXlrd(const QString& path, QString* problem);
Sheets readWithFreexl(const QString& path, QString* problem);

}
