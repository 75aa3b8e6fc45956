#pragma once
#include <QString>
#include <QStringList>
#include <memory>

namespace corvane {

enum class WorkbookFormat { Xls, Xlsx, Csv };

// The rows of one sheet of a workbook, one at a time, every cell as text (CellText.h).
// A row's list may be shorter than the sheet is wide; missing cells are empty.
class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;
    // False after the last row; throws corvane::Error for a damaged file.
    virtual bool readRow(QStringList& cells) = 0;
};

// The format from the file's first bytes, whatever its name says; throws corvane::Error
// for a file that cannot be read.
WorkbookFormat sniffWorkbookFormat(const QString& fileName);

// The sheet an import reads: "Sheet1" of an .xls or .xlsx workbook, the whole of a .csv file.
// Throws corvane::Error naming the file and the cause.
std::unique_ptr<WorkbookReader> openImportSheet(const QString& fileName);

// The name an import requires of its sheet.
inline QString importSheetName() { return QStringLiteral("Sheet1"); }

}
