#pragma once
#include <QString>

namespace corvane {

class List;

// The list as an .xls workbook: its column names in row 1, then every row of the list from the
// first, as text. The list keeps its rows; its current row ends on the last one.
// Throws corvane::Error naming the file and the cause; the file is then left as it was.
void exportListToXls(List& list, const QString& fileName);

}
