#include "testsupport/WorkbookReadBack.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <freexl.h>

namespace corvane::test {

// Every sheet with its rows, as python3-xlrd reads them; cells must all be text cells.
Sheets readWithXlrd(const QString& path, QString* problem)
{
    static const char* script = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
out = []
for sheet in book.sheets():
    rows = []
    for r in range(sheet.nrows):
        row = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY):
                raise SystemExit('cell %d,%d is not text' % (r, c))
            row.append(cell.value)
        rows.append(row)
    out.append({'name': sheet.name, 'rows': rows})
print(json.dumps(out))
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        *problem = QString::fromUtf8(python.readAllStandardError()) + python.errorString();
        return {};
    }
    Sheets sheets;
    for (const QJsonValue& sheet : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        SheetRows rows;
        for (const QJsonValue& row : sheet[QLatin1String("rows")].toArray()) {
            QStringList cells;
            for (const QJsonValue& cell : row.toArray())
                cells << cell.toString();
            rows << cells;
        }
        sheets << qMakePair(sheet[QLatin1String("name")].toString(), rows);
    }
    return sheets;
}


Sheets readWithFreexl(const QString& path, QString* problem)
{
    const void* handle = nullptr;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &handle);
    if (rc != FREEXL_OK || !handle) {
        *problem = QStringLiteral("freexl_open: %1").arg(rc);
        return {};
    }
    Sheets sheets;
    unsigned int count = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
    for (unsigned short s = 0; s < count; ++s) {
        const char* name = nullptr;
        freexl_get_worksheet_name(handle, s, &name);
        freexl_select_active_worksheet(handle, s);
        unsigned int rows = 0;
        unsigned short columns = 0;
        freexl_worksheet_dimensions(handle, &rows, &columns);
        SheetRows table;
        for (unsigned int r = 0; r < rows; ++r) {
            QStringList cells;
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                freexl_get_cell_value(handle, r, c, &v);
                if (v.type == FREEXL_CELL_SST_TEXT || v.type == FREEXL_CELL_TEXT)
                    cells << QString::fromUtf8(v.value.text_value);
                else if (v.type == FREEXL_CELL_NULL)
                    cells << QString();
                else
                    cells << QStringLiteral("<type %1>").arg(v.type);
            }
            table << cells;
        }
        sheets << qMakePair(QString::fromUtf8(name), table);
    }
    freexl_close(handle);
    return sheets;
}

}
