#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace corvane {

// A table written as an Excel 97 (.xls, BIFF8) workbook of text cells: a header row, then the
// rows. Rows beyond what one sheet holds continue on Sheet2, Sheet3 ..., each again with the header.
class XlsWriter {
public:
    static constexpr int MaxRowsPerSheet = 65536;       // the header included
    static constexpr int MaxColumns = 256;
    static constexpr int MaxCellLength = 32767;

    using CellText = std::function<QString(int row, int column)>;

    // The workbook stream's records (BIFF8), without the container.
    static QByteArray workbookStream(const QStringList& header, int rowCount, const CellText& cell,
                                     int rowsPerSheet = MaxRowsPerSheet);
    // The same in an OLE2 compound file, as .xls files are.
    static QByteArray workbookFile(const QStringList& header, int rowCount, const CellText& cell,
                                   int rowsPerSheet = MaxRowsPerSheet);
    // Written to a temporary file beside fileName and renamed over it when complete.
    // Throws corvane::Error naming the file and the cause.
    static void save(const QString& fileName, const QStringList& header, int rowCount, const CellText& cell,
                     int rowsPerSheet = MaxRowsPerSheet);
};

}
