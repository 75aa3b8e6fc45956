// Importing 10,000 recipients from .xls, .xlsx and .csv into excel, exporting 10,000 to .xls,
// and the heap the .xlsx and .csv readers use at 10,000 and 100,000 rows.
#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "addressbook/ListExport.h"
#include "addressbook/SpreadsheetImport.h"
#include "addressbook/WorkbookReader.h"
#include "addressbook/XlsWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <quazip.h>
#include <quazipfile.h>

using namespace corvane;

namespace {

const QStringList& columns() { return Connection::recipientColumns(); }

// A believable recipient; every text differs from row to row, as in a real list.
QStringList recipient(int i)
{
    static const QString family = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗");
    return {family[i % family.size()] + QStringLiteral("先生%1").arg(i), "上海", QStringLiteral("上海第%1贸易有限公司").arg(i),
            "200120", QStringLiteral("上海市浦东新区世纪大道%1号金茂大厦%2楼\n前台").arg(i).arg(i % 88),
            QString::number(13000000000LL + qint64(i) * 7919 % 999999999), "021-50471234", "服装",
            QString::number(i % 5 + 1), i % 3 ? QString() : QStringLiteral("加急")};
}

QString xmlEscaped(const QString& s)
{
    return s.toHtmlEscaped();
}

void writeXlsx(const QString& path, int rows)
{
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    auto add = [&](const QString& name, const QByteArray& data) {
        QuaZipFile f(&zip);
        f.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
        f.write(data);
        f.close();
    };
    add("[Content_Types].xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
    add("_rels/.rels",
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"xl/workbook.xml\"/></Relationships>");
    add("xl/workbook.xml",
        "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    add("xl/_rels/workbook.xml.rels",
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
        "Target=\"sharedStrings.xml\"/></Relationships>");
    QByteArray strings = "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    QByteArray sheet = "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    int next = 0;
    auto row = [&](int r, const QStringList& cells) {
        sheet += "<row r=\"" + QByteArray::number(r + 1) + "\">";
        for (int c = 0; c < cells.size(); ++c) {
            const QByteArray ref = QByteArray(1, char('A' + c)) + QByteArray::number(r + 1);
            if (r > 0 && c == 5) {
                sheet += "<c r=\"" + ref + "\"><v>" + cells[c].toUtf8() + "</v></c>";   // mobile as a number
            } else if (!cells[c].isEmpty()) {
                strings += "<si><t>" + xmlEscaped(cells[c]).toUtf8() + "</t></si>";
                sheet += "<c r=\"" + ref + "\" t=\"s\"><v>" + QByteArray::number(next++) + "</v></c>";
            }
        }
        sheet += "</row>";
    };
    row(0, columns());
    for (int i = 0; i < rows; ++i)
        row(i + 1, recipient(i));
    add("xl/sharedStrings.xml", strings + "</sst>");
    add("xl/worksheets/sheet1.xml", sheet + "</sheetData></worksheet>");
    zip.close();
}

void writeCsv(const QString& path, int rows)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    auto line = [&](const QStringList& cells) {
        QStringList quoted;
        for (const QString& c : cells)
            quoted << QLatin1Char('"') + QString(c).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        f.write(quoted.join(QLatin1Char(',')).toUtf8() + "\r\n");
    };
    line(columns());
    for (int i = 0; i < rows; ++i)
        line(recipient(i));
}

void writeXls(const QString& path, int rows)
{
    XlsWriter::save(path, columns(), rows, [](int r, int c) { return recipient(r)[c]; });
}

// Median wall-clock time, and the median processor time beside it: on a shared, busy machine
// the wall clock also counts the time other programs had the processor.
double medianMs(int runs, const std::function<void()>& work, double* cpuMs = nullptr)
{
    std::vector<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const std::clock_t c = std::clock();
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(double(std::clock() - c) * 1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    if (cpuMs)
        *cpuMs = cpu[cpu.size() / 2];
    return times[times.size() / 2];
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

// The most heap in use while a reader goes through every row of the file, above where it started.
double readerHeapMb(const QString& path, int* rowsRead)
{
    malloc_trim(0);
    const size_t start = heapInUse();
    size_t peak = start;
    {
        std::unique_ptr<WorkbookReader> reader = openImportSheet(path);
        QStringList cells;
        int n = 0;
        while (reader->readRow(cells)) {
            if (++n % 500 == 0)
                peak = std::max(peak, heapInUse());
        }
        peak = std::max(peak, heapInUse());
        *rowsRead = n;
    }
    return double(peak - start) / (1024.0 * 1024.0);
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = dir.filePath("data.mdb");
    Connection::createDatabase(database);
    Connection connection(database);
    connection.Open();

    const int rows = 10000;
    struct Format {
        const char* name;
        const char* file;
        void (*write)(const QString&, int);
    };
    const Format formats[] = {{".xls", "list.xls", writeXls}, {".xlsx", "list.xlsx", writeXlsx}, {".csv", "list.csv", writeCsv}};
    for (const Format& f : formats) {
        const QString path = dir.filePath(f.file);
        f.write(path, rows);
        int imported = 0;
        double cpu = 0;
        const double ms = medianMs(5, [&] {
            connection.ExecSQL("DELETE FROM excel");
            imported = importWorkbookIntoExcel(connection, path);
        }, &cpu);
        std::printf("import %d rows from %-5s into excel: %7.1f ms, processor %6.1f ms (median of 5; goal <= 1000 ms), "
                    "%d rows\n", rows, f.name, ms, cpu, imported);
    }

    // Export of 10,000 recipients from the list, as "数据导出" does it.
    connection.ExecSQL("INSERT INTO inr SELECT * FROM excel");
    List list(&connection);
    list.setSQL("select * from inr");
    list.Open();
    const QString exported = dir.filePath("export.xls");
    double exportCpu = 0;
    const double exportMs = medianMs(5, [&] { exportListToXls(list, exported); }, &exportCpu);
    std::printf("export %d recipients to .xls:          %7.1f ms, processor %6.1f ms (median of 5; goal <= 1000 ms), "
                "%lld bytes\n", list.RecordCount(), exportMs, exportCpu, static_cast<long long>(QFileInfo(exported).size()));

    // Heap while reading: the same for ten times the rows means memory is flat in the row count.
    for (const Format& f : {formats[1], formats[2]}) {
        for (int n : {10000, 100000}) {
            const QString path = dir.filePath(QStringLiteral("heap-%1-%2").arg(n).arg(QString::fromLatin1(f.file)));
            f.write(path, n);
            int read = 0;
            const double mb = readerHeapMb(path, &read);
            std::printf("reading %6d rows of %-5s: peak heap %.2f MB above the start (%d rows read)\n", n, f.name, mb, read);
            QFile::remove(path);
        }
    }
    return 0;
}
