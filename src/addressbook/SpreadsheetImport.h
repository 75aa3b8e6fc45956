#pragma once
#include <QString>

namespace corvane {

class Connection;

// Adds every row of the workbook's import sheet (WorkbookReader.h) to the table excel, in one
// transaction: all rows or none. The first non-blank row names the columns; the ten columns of
// excel must all be there, in any order; other columns are ignored; wholly blank rows are skipped.
// Returns the number of rows added; throws corvane::Error naming the file and the cause.
int importWorkbookIntoExcel(Connection& connection, const QString& fileName);

}
