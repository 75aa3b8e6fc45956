#include "testsupport/AppTestSupport.h"
#include "addressbook/Connection.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "core/Clock.h"
#include "app/Startup.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace corvane::test {

RecordingDesktop::RecordingDesktop()
{
    Desktop::install(this);
}

RecordingDesktop::~RecordingDesktop()
{
    Desktop::install(nullptr);
}

bool RecordingDesktop::grabHelpKey(std::function<void()> pressed)
{
    if (!grabSucceeds)
        return false;
    helpKey = std::move(pressed);
    return true;
}

TemporaryAddressBook::TemporaryAddressBook(bool withDatabase) : m_previousDirectory(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
    if (withDatabase)
        Connection::createDatabase(databasePath());
}

TemporaryAddressBook::~TemporaryAddressBook()
{
    QDir::setCurrent(m_previousDirectory);
}

QString TemporaryAddressBook::databasePath() const
{
    return m_dir.filePath(QStringLiteral("data.mdb"));
}

void TemporaryAddressBook::exec(const QString& sql, const QVariantList& params)
{
    Connection connection(databasePath());
    connection.Open();
    connection.ExecSQL(sql, params);
}

void TemporaryAddressBook::insert(const QString& table, const QStringList& values)
{
    Connection connection(databasePath());
    const QStringList columns = connection.tableColumns(table).mid(0, values.size());
    QStringList names, marks;
    QVariantList params;
    for (int i = 0; i < columns.size(); ++i) {
        names << QLatin1Char('"') + columns[i] + QLatin1Char('"');
        marks << QStringLiteral("?%1").arg(i + 1);
        params << values[i];
    }
    connection.ExecSQL(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, names.join(','), marks.join(',')),
                       params);
}

QVector<QStringList> TemporaryAddressBook::rows(const QString& table) const
{
    Connection connection(databasePath());
    List list(&connection);
    list.setSQL(QStringLiteral("select * from ") + table);
    list.Open();
    QVector<QStringList> all;
    for (int r = 0; r < list.RecordCount(); ++r) {
        QStringList row;
        for (int c = 0; c < list.Fields().size(); ++c)
            row << list.value(r, c);
        all << row;
    }
    return all;
}

QStringList TemporaryAddressBook::column(const QString& table, const QString& name) const
{
    Connection connection(databasePath());
    const int c = connection.tableColumns(table).indexOf(name);
    QStringList values;
    for (const QStringList& row : rows(table))
        values << row.value(c);
    return values;
}

MainWindowFixture::MainWindowFixture(const QVector<QStringList>& senders, const QVector<QStringList>& recipients,
                                     const QDate& today)
{
    Clock::setFixedToday(today);
    for (const QStringList& row : senders)
        book.insert(QStringLiteral("outr"), row);
    for (const QStringList& row : recipients)
        book.insert(QStringLiteral("inr"), row);
    m_form = createMainWindow();
    if (!m_form)
        qFatal("the main window did not open: %s", qPrintable(dialogs.texts().join('\n')));
    m_form->show();
    dialogs.clear();
}

MainWindowFixture::~MainWindowFixture()
{
    m_form.reset();
    Clock::setFixedToday(QDate());
}

void MainWindowFixture::type(const QString& box, const QString& text) const
{
    auto* edit = find<QLineEdit>(box);
    QVERIFY2(edit, qPrintable(box));
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
        return;
    }
    // One key event per character, carrying its text as a keyboard (or an input method) delivers it.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void MainWindowFixture::click(const QString& button) const
{
    auto* b = find<QAbstractButton>(button);
    QVERIFY2(b, qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

void MainWindowFixture::clickRow(const QString& grid, int row, Qt::KeyboardModifiers modifiers) const
{
    auto* g = find<DataGrid>(grid);
    QVERIFY2(g, qPrintable(grid));
    const QRect cell = g->visualRect(g->model()->index(row, 0));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, modifiers, cell.center());
}

void MainWindowFixture::doubleClickRow(const QString& grid, int row) const
{
    auto* g = find<DataGrid>(grid);
    QVERIFY2(g, qPrintable(grid));
    const QRect cell = g->visualRect(g->model()->index(row, 0));
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}

void MainWindowFixture::selectRows(const QString& grid, const QVector<int>& rows) const
{
    auto* g = find<DataGrid>(grid);
    QVERIFY2(g, qPrintable(grid));
    QHeaderView* numbers = g->verticalHeader();
    for (int i = 0; i < rows.size(); ++i) {
        const QPoint at(numbers->width() / 2, numbers->sectionViewportPosition(rows[i]) + numbers->sectionSize(rows[i]) / 2);
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton, i ? Qt::ControlModifier : Qt::NoModifier, at);
    }
}

void MainWindowFixture::triggerMenu(const QString& action) const
{
    auto* a = find<QAction>(action);
    QVERIFY2(a, qPrintable(action));
    a->trigger();
}

QStringList MainWindowFixture::texts(const QStringList& boxes) const
{
    QStringList all;
    for (const QString& name : boxes) {
        auto* edit = find<QLineEdit>(name);
        all << (edit ? edit->text() : QStringLiteral("<no %1>").arg(name));
    }
    return all;
}

QStringList boxNames(int first, int last)
{
    QStringList names;
    for (int n = first; n <= last; ++n)
        names << QStringLiteral("Edit%1").arg(n);
    return names;
}

}
