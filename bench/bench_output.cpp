// The page engine on template 1: a 2,000-row batch laid out into the preview's page store and
// printed to PDF, and the peak memory of a 20,000-row batch (the store spills to its file).
#include "core/Fonts.h"
#include "output/PdfFilePrintingSystem.h"
#include "output/ReportDataSet.h"
#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "templates/Catalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace corvane;

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

long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Resets the peak resident size, so each phase reports its own peak.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
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

}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("batch.pdf"));
    PdfFilePrintingSystem system(pdf);

    run(system, 50, TPageRun::Destination::Preview); // warm the font caches

    const Result store = run(system, 2000, TPageRun::Destination::Preview);
    std::printf("output: template 1, 2,000 rows into the page store: %d pages in %.2f s = %.0f pages/s, peak RSS %.1f MB%s\n",
                store.pages, store.seconds, store.pages / store.seconds, store.peakKb / 1024.0,
                store.spilled ? " (store in its temporary file)" : "");

    const Result printed = run(system, 2000, TPageRun::Destination::Printer);
    std::printf("output: template 1, 2,000 rows printed to PDF: %d pages in %.2f s = %.0f pages/s, %.1f MB file, peak RSS %.1f MB\n",
                printed.pages, printed.seconds, printed.pages / printed.seconds,
                QFileInfo(pdf).size() / 1048576.0, printed.peakKb / 1024.0);

    const Result large = run(system, 20000, TPageRun::Destination::Preview);
    std::printf("output: template 1, 20,000 rows into the page store: %d pages in %.2f s = %.0f pages/s, peak RSS %.1f MB%s\n",
                large.pages, large.seconds, large.pages / large.seconds, large.peakKb / 1024.0,
                large.spilled ? " (store in its temporary file)" : " (store still in memory!)");
    std::printf("output: goals: >= 2000 pages/s into the store, >= 500 pages/s to PDF, < 150 MB at 20,000 rows\n");
    return 0;
}
