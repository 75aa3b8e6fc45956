// Opening a list over 100,000 recipients, and searching them.
#include "addressbook/Connection.h"
#include "addressbook/List.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace corvane;

namespace {

double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath("data.mdb");
    Connection::createDatabase(file);
    Connection connection(file);
    connection.Open();

    const int rowCount = 100000;
    const char* surnames = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗";
    const QString family = QString::fromUtf8(surnames);
    connection.ExecSQL("BEGIN");
    for (int i = 0; i < rowCount; ++i) {
        const QString mobile = QString::number(13000000000LL + qint64(i) * 7919 % 999999999);
        connection.ExecSQL("INSERT INTO inr VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                           {family[i % family.size()] + QStringLiteral("先生%1").arg(i % 97), "上海",
                            QStringLiteral("上海第%1贸易有限公司").arg(i % 1000), "200120",
                            QStringLiteral("上海市浦东新区世纪大道%1号金茂大厦%2楼").arg(i % 300).arg(i % 88),
                            mobile, "021-50471234", "服装", QString::number(i % 5 + 1), ""});
    }
    connection.ExecSQL("COMMIT");

    List list(&connection);
    list.setSQL("select * from inr");
    const double openMs = medianMs(5, [&] { list.Open(); });
    std::printf("open list over %d inr rows: %.1f ms (median of 5; goal <= 300 ms), %d rows\n",
                rowCount, openMs, list.RecordCount());

    int found = 0;
    const double searchMs = medianMs(5, [&] {
        list.Close();
        list.setSearch("inr", "手机", "13912");
        list.Open();
        found = list.RecordCount();
    });
    std::printf("search 手机 like 13912 over %d rows: %.1f ms (median of 5; goal <= 50 ms), %d found\n",
                rowCount, searchMs, found);

    const double nameMs = medianMs(5, [&] {
        list.Close();
        list.setSearch("inr", "收件单位", "第999贸易");
        list.Open();
        found = list.RecordCount();
    });
    std::printf("search 收件单位 like 第999贸易 over %d rows: %.1f ms (median of 5), %d found\n",
                rowCount, nameMs, found);
    return 0;
}
