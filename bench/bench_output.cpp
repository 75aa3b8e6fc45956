// The page engine on template 1: a 2,000-row batch laid out into the preview's page store and
// printed to PDF, the peak memory of a 20,000-row batch (the store spills to its file), and
// `corvane render --window pd` over a 2,000-row recipient list, end to end.
//
// Usage: bench_output [--rows N] [--program PATH] [--only PART] [--write-database FOLDER]
//   N: rows of the batch (2,000; the large batch has ten times as many);
//   PATH: the corvane program to time (the one built beside this benchmark);
//   PART: store, pdf, large or render: time only that (to profile one path);
//   FOLDER: only write the N-row address book there (to profile the render command on it).
#include "ProcessMemory.h"
#include "addressbook/Connection.h"
#include "core/Fonts.h"
#include "output/PdfFilePrintingSystem.h"
#include "output/ReportDataSet.h"
#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "templates/Catalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace corvane;
using namespace corvane::bench;

namespace {

// Generated recipients: every row differs, as in a real batch.
class GeneratedRows : public ReportDataSet {
public:
    explicit GeneratedRows(int count) : m_count(count) {}
    bool isOpen() const override { return true; }
    int recordCount() const override { return m_count; }
    void first() override { m_row = 0; }
    void next() override { ++m_row; }
    bool eof() const override { return m_row >= m_count; }

    QString value(const QString& column) const
    {
        static const QStringList surnames{"张", "王", "李", "赵", "刘", "陈", "杨", "黄"};
        static const QStringList cities{"北京", "上海", "广州", "深圳", "杭州", "成都", "武汉", "南京"};
        const int r = m_row;
        if (column == QStringLiteral("姓名"))
            return surnames[r % 8] + QStringLiteral("先生%1").arg(r);
        if (column == QStringLiteral("城市"))
            return cities[r % 8];
        if (column == QStringLiteral("地址"))
            return cities[r % 8] + QStringLiteral("市人民路%1号%2单元%3室").arg(r % 997).arg(r % 7 + 1).arg(r % 601);
        if (column == QStringLiteral("手机"))
            return QStringLiteral("139%1").arg(10000000 + r, 8, 10, QLatin1Char('0'));
        if (column == QStringLiteral("电话"))
            return QStringLiteral("010-6%1").arg(1000000 + r % 9000000, 7, 10, QLatin1Char('0'));
        if (column == QStringLiteral("收件单位"))
            return cities[(r + 3) % 8] + QStringLiteral("贸易有限公司第%1分部").arg(r % 50);
        if (column == QStringLiteral("邮编"))
            return QStringLiteral("%1").arg(100000 + r % 800000);
        if (column == QStringLiteral("内件品名"))
            return QStringLiteral("茶叶礼盒");
        if (column == QStringLiteral("数量"))
            return QString::number(1 + r % 5);
        return QString();
    }

private:
    int m_count;
    int m_row = 0;
};

QString sender(const QString& column)
{
    if (column == QStringLiteral("姓名"))
        return QStringLiteral("王立新");
    if (column == QStringLiteral("地址"))
        return QStringLiteral("浙江省杭州市西湖区文三路478号");
    if (column == QStringLiteral("寄件单位"))
        return QStringLiteral("杭州青禾茶叶有限公司");
    if (column == QStringLiteral("手机"))
        return QStringLiteral("13858123467");
    if (column == QStringLiteral("年"))
        return QStringLiteral("2026");
    if (column == QStringLiteral("月"))
        return QStringLiteral("01");
    if (column == QStringLiteral("日"))
        return QStringLiteral("05");
    return QString();
}

struct Result {
    int pages = 0;
    double seconds = 0;
    long peakKb = 0;
    bool spilled = false;
};

Result run(PrintingSystem& system, int rows, TPageRun::Destination destination)
{
    Catalogue catalogue(PrintWindowKind::Pd);
    GeneratedRows data(rows);
    TemplateReportPage page(catalogue.waybillTemplate(1),
                            SlotRows{sender, [&data](const QString& column) { return data.value(column); }});
    page.DataSet = &data;
    page.ShowProgress = false;
    page.setPrintingSystem(&system);
    TPageRun pageRun(system);
    pageRun.setDestination(destination);
    resetPeak();
    QElapsedTimer timer;
    timer.start();
    page.layout(pageRun);
    Result result;
    result.seconds = timer.nsecsElapsed() / 1e9;
    result.pages = pageRun.pageCount();
    result.peakKb = statusKb("VmHWM:");
    result.spilled = pageRun.store() && pageRun.store()->inFile();
    return result;
}

// An address book in `folder` with one sender and `rows` recipients in inr (the pd window's list).
void writeDatabase(const QString& folder, int rows)
{
    const QString fileName = QDir(folder).filePath(QString::fromLatin1(Connection::DefaultFileName));
    Connection::createDatabase(fileName);
    Connection connection(fileName);
    connection.Open();
    auto insert = [&connection](const QString& table, const QStringList& columns, auto value) {
        QStringList names, marks;
        QVariantList values;
        for (const QString& column : columns) {
            const QString v = value(column);
            if (v.isEmpty())
                continue;
            names << column;
            marks << QStringLiteral("?%1").arg(values.size() + 1);
            values << v;
        }
        connection.ExecSQL(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, names.join(','), marks.join(',')),
                           values);
    };
    connection.ExecSQL(QStringLiteral("begin"));
    insert(QStringLiteral("outr"), Connection::senderColumns(), sender);
    GeneratedRows data(rows);
    for (data.first(); !data.eof(); data.next())
        insert(QStringLiteral("inr"), Connection::recipientColumns(), [&data](const QString& c) { return data.value(c); });
    connection.ExecSQL(QStringLiteral("commit"));
}

// Seconds from starting `program render --window pd` in `folder` to its exit, or -1 on failure.
double timeRender(const QString& program, const QString& folder, QString* output)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {QStringLiteral("render"), QStringLiteral("--window"), QStringLiteral("pd"),
                            QStringLiteral("--template"), QStringLiteral("1"), QStringLiteral("--pdf"),
                            QStringLiteral("batch.pdf")});
    const bool finished = process.waitForFinished(300000);
    const double seconds = timer.nsecsElapsed() / 1e9;
    *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *output += QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return -1;
    }
    return seconds;
}

}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&args](const char* name, const QString& fallback) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at > 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
    };
    // The render runs in its own folder: a relative program path is taken from here.
    const QString program = QFileInfo(option("--program", QStringLiteral(CORVANE_PROGRAM))).absoluteFilePath();
    const QString only = option("--only", QString());
    auto timed = [&only](const char* part) { return only.isEmpty() || only == QLatin1String(part); };
    const int rows = qMax(1, option("--rows", QStringLiteral("2000")).toInt());
    if (const QString folder = option("--write-database", QString()); !folder.isEmpty()) {
        writeDatabase(folder, rows);
        return 0;
    }
    installFontSubstitutions();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("batch.pdf"));
    PdfFilePrintingSystem system(pdf);

    run(system, 50, TPageRun::Destination::Preview); // warm the font caches

    if (timed("store")) {
        const Result store = run(system, rows, TPageRun::Destination::Preview);
        std::printf("output: template 1, %d rows into the page store: %d pages in %.2f s = %.0f pages/s, peak RSS %.1f MB%s\n",
                    rows, store.pages, store.seconds, store.pages / store.seconds, store.peakKb / 1024.0,
                    store.spilled ? " (store in its temporary file)" : "");
    }

    if (timed("pdf")) {
        const Result printed = run(system, rows, TPageRun::Destination::Printer);
        std::printf("output: template 1, %d rows printed to PDF: %d pages in %.2f s = %.0f pages/s, %.1f MB file, peak RSS %.1f MB\n",
                    rows, printed.pages, printed.seconds, printed.pages / printed.seconds,
                    QFileInfo(pdf).size() / 1048576.0, printed.peakKb / 1024.0);
    }
    if (timed("large")) {
        const Result large = run(system, 10 * rows, TPageRun::Destination::Preview);
        std::printf("output: template 1, %d rows into the page store: %d pages in %.2f s = %.0f pages/s, peak RSS %.1f MB%s\n",
                    10 * rows, large.pages, large.seconds, large.pages / large.seconds, large.peakKb / 1024.0,
                    large.spilled ? " (store in its temporary file)" : " (store still in memory!)");
    }
    if (timed("render")) {
        QTemporaryDir renderDir;
        writeDatabase(renderDir.path(), rows);
        QString renderOutput;
        const double renderSeconds = timeRender(program, renderDir.path(), &renderOutput);
        if (renderSeconds < 0)
            std::printf("output: corvane render --window pd over %d rows FAILED: %s\n", rows,
                        renderOutput.toLocal8Bit().constData());
        else
            std::printf("output: corvane render --window pd --template 1 over %d rows, end to end: %.2f s (%s)\n",
                        rows, renderSeconds, renderOutput.toLocal8Bit().constData());
    }

    std::printf("output: goals: >= 2000 pages/s into the store, >= 500 pages/s to PDF, < 150 MB at 20,000 rows\n");
    return 0;
}
