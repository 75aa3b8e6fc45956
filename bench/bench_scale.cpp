// 100,000 recipients through the real main window (offscreen), beside the list layer alone:
// start-up, a search that finds every row, and "刷新". The window and its grids may add at most
// 100 ms to what the list layer costs, and the window's process may peak at 120 MB.
// The window's memory is measured in a child process of its own, so that the list layer's
// snapshots do not count towards it.
#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "app/DataGrid.h"
#include "core/Dialogs.h"
#include "core/Fonts.h"
#include "app/MainUnit.h"
#include "app/Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace corvane;

namespace {

constexpr int recipientCount = 100000;
constexpr int rounds = 9;

double elapsedMs(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One step timed through the list layer and through the window, round by round in turn, so that
// both see the same load on a shared machine; "added" is the median of the rounds' differences.
struct Paired {
    std::vector<double> list, window;
    void add(double listMs, double windowMs)
    {
        list.push_back(listMs);
        window.push_back(windowMs);
    }
    double added() const
    {
        std::vector<double> differences;
        for (size_t i = 0; i < list.size(); ++i)
            differences.push_back(window[i] - list[i]);
        return median(differences);
    }
};

double peakMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double currentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// The book written with the engine alone and a small cache, so that making it costs the
// measured process no memory worth speaking of.
void makeBook(const QString& file)
{
    Connection::createDatabase(file);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key(Connection::DatabasePassword);
    sqlite3_key(db, key.constData(), int(key.size()));
    sqlite3_exec(db, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO inr VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)", -1, &insert, nullptr);
    const QString family = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗");
    for (int i = 0; i < recipientCount; ++i) {
        // Every mobile number starts with 139, so the search below finds every row.
        const QStringList values{family[i % family.size()] + QStringLiteral("先生%1").arg(i % 97), QStringLiteral("上海"),
                                 QStringLiteral("上海第%1贸易有限公司").arg(i % 1000), QStringLiteral("200120"),
                                 QStringLiteral("上海市浦东新区世纪大道%1号金茂大厦%2楼").arg(i % 300).arg(i % 88),
                                 QStringLiteral("139%1").arg(i * 7919 % 100000000, 8, 10, QLatin1Char('0')),
                                 QStringLiteral("021-50471234"), QStringLiteral("服装"), QString::number(i % 5 + 1),
                                 QString()};
        for (int c = 0; c < values.size(); ++c) {
            const QByteArray utf8 = values[c].toUtf8();
            sqlite3_bind_text(insert, c + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "INSERT INTO outr (姓名, 城市) VALUES ('王立新', '杭州')", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// What the main window asks of the list layer at start-up, without a window.
void listLayerStartup(const QString& file)
{
    Connection connection(file);
    connection.Open();
    connection.checkAddressBook();
    List senders(&connection), recipients(&connection), imported(&connection);
    senders.setSQL(QStringLiteral("select * from outr"));
    recipients.setSQL(QStringLiteral("select * from inr"));
    imported.setSQL(QStringLiteral("select * from excel"));
    senders.Open();
    recipients.Open();
    imported.Open();
}

// Message boxes would wait for a click that never comes.
class SilentDialogs : public Dialogs {
public:
    MessageResult message(QWidget*, const QString&, const QString& text, MessageIcon, MessageButtons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return MessageResult::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// Click to repainted: the handler, the events it queued, and a paint of the grid.
void clickAndPaint(QAbstractButton* button, QWidget* grid)
{
    button->click();
    QCoreApplication::processEvents();
    grid->repaint();
}

struct Window {
    std::unique_ptr<TMainForm> form;
    DataGrid* grid = nullptr;
    QLineEdit* mobile = nullptr;
    QAbstractButton* search = nullptr;
    QAbstractButton* refresh = nullptr;

    void open()
    {
        form = createMainWindow();
        form->show();
        QCoreApplication::processEvents();
        form->repaint();
        grid = form->findChild<DataGrid*>(QStringLiteral("DBGridEh2"));
        mobile = form->findChild<QLineEdit*>(QStringLiteral("Edit21"));
        search = form->findChild<QAbstractButton*>(QStringLiteral("SpeedButton19"));
        refresh = form->findChild<QAbstractButton*>(QStringLiteral("SpeedButton20"));
    }
    void close()
    {
        form.reset();
        QCoreApplication::processEvents();
    }
    void searchAll()
    {
        mobile->setText(QStringLiteral("139"));
        clickAndPaint(search, grid->viewport());
        if (form->ADOQuery2()->RecordCount() != recipientCount)
            std::fprintf(stderr, "the window's search found %d rows\n", form->ADOQuery2()->RecordCount());
    }
    void refreshAll() { clickAndPaint(refresh, grid->viewport()); }
};

// The window alone, as a user runs it: its peak memory and what it holds afterwards.
struct Memory {
    double peak = 0;
    double settled = 0;
};

Memory windowMemory()
{
    Window w;
    w.open();
    for (int i = 0; i < rounds; ++i) {
        w.searchAll();
        w.refreshAll();
    }
    return {peakMb(), currentMb()};
}

void printRow(const char* what, const Paired& p)
{
    const double added = p.added();
    std::printf("  %-12s list layer %7.1f ms   window %7.1f ms   added by window and grid %6.1f ms  (goal <= 100 ms: %s)\n",
                what, median(p.list), median(p.window), added, added <= 100 ? "met" : "NOT MET");
}

void initialiseApplication()
{
    QApplication::setApplicationDisplayName(applicationTitle());
    installFontSubstitutions();
}

}

int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.mdb"));
    makeBook(file);
    QDir::setCurrent(dir.path());
    SilentDialogs dialogs;
    Dialogs::install(&dialogs);

    // The window's memory in a child of its own, unmixed with the list layer's snapshots.
    int channel[2];
    if (pipe(channel) != 0)
        return 1;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        QApplication app(argc, argv);
        initialiseApplication();
        const Memory m = windowMemory();
        const ssize_t written = write(channel[1], &m, sizeof m);
        _exit(written == sizeof m ? 0 : 1);
    }
    close(channel[1]);
    Memory memory;
    const bool received = read(channel[0], &memory, sizeof memory) == sizeof memory;
    int childStatus = 0;
    waitpid(child, &childStatus, 0);
    if (!received) {
        std::fprintf(stderr, "the window's memory run failed\n");
        return 1;
    }

    QApplication app(argc, argv);
    initialiseApplication();
    // The list layer alone reads a copy of the book: the open window's lists would otherwise
    // lend it their snapshots of the same rows.
    const QString listFile = dir.filePath(QStringLiteral("list-layer.mdb"));
    if (!QFile::copy(file, listFile))
        return 1;
    Paired startup, search, refresh;
    Window w;
    for (int i = 0; i < rounds; ++i) {
        const double list = elapsedMs([&] { listLayerStartup(listFile); });
        w.close();
        startup.add(list, elapsedMs([&] { w.open(); }));
    }
    Connection connection(listFile);
    List recipients(&connection);
    for (int i = 0; i < rounds; ++i) {
        const double list = elapsedMs([&] {
            recipients.Close();
            recipients.setSearch(QStringLiteral("inr"), QStringLiteral("手机"), QStringLiteral("139"));
            recipients.Open();
        });
        recipients.Close();
        search.add(list, elapsedMs([&] { w.searchAll(); }));
    }
    for (int i = 0; i < rounds; ++i) {
        const double list = elapsedMs([&] {
            recipients.Close();
            recipients.setSQL(QStringLiteral("select * from inr"));
            recipients.Open();
        });
        recipients.Close();
        refresh.add(list, elapsedMs([&] { w.refreshAll(); }));
    }
    w.close();
    Dialogs::install(nullptr);

    std::printf("main window over %d recipients, offscreen (medians of %d rounds, list layer and window in turn):\n",
                recipientCount, rounds);
    printRow("start-up", startup);
    printRow("search 139", search);
    printRow("刷新", refresh);
    std::printf("  memory of the window's process (start-up, %d searches and %d refreshes): peak %.1f MB "
                "(goal <= 120 MB: %s), %.1f MB at the end\n",
                rounds, rounds, memory.peak, memory.peak <= 120 ? "met" : "NOT MET", memory.settled);
    return 0;
}
