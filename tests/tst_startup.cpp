// Start-up: a data.mdb that cannot be opened ends it with the engine's text and creates nothing;
// an error escaping an event handler reaches the standard error box and the program runs on.
#include "testsupport/AppTestSupport.h"
#include "app/Application.h"
#include "core/Error.h"
#include "app/Startup.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

// A widget whose handlers fail the way a database error does.
class FailingWidget : public QWidget {
public:
    QString failure;
    bool standardException = false;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (standardException)
            throw std::runtime_error(failure.toStdString());
        throw Error(failure);
    }
};

}

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unusableDatabase_data();
    void unusableDatabase();
    void usableDatabase();
    void errorEscapingAHandler_data();
    void errorEscapingAHandler();
    void errorEscapingASlot();
};

void StartupTest::unusableDatabase_data()
{
    QTest::addColumn<QByteArray>("content");   // null: no file at all
    QTest::addColumn<QString>("engineText");

    QTest::newRow("missing") << QByteArray() << "unable to open database file";
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "not a database";
    QTest::newRow("empty file, no tables") << QByteArray("") << "no such table: outr";
}

void StartupTest::unusableDatabase()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, engineText);

    TemporaryAddressBook book(false);
    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    if (!content.isNull()) {
        QFile file(book.databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const std::unique_ptr<TMainForm> form = createMainWindow();
    QVERIFY(!form);
    QCOMPARE(dialogs.messages.size(), 1);
    const RecordedMessage shown = dialogs.messages.first();
    QCOMPARE(shown.title, QApplication::applicationDisplayName());
    QCOMPARE(shown.icon, MessageIcon::Stop);
    QVERIFY2(shown.text.contains(engineText), qPrintable(shown.text));
    // FormCreate never ran, and the folder holds what it held before.
    QCOMPARE(desktop.shortcutsWritten, 0);
    const QStringList left = QDir(book.path()).entryList(QDir::Files | QDir::Hidden);
    if (content.isNull()) {
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
    } else {
        QCOMPARE(left, QStringList{"data.mdb"});
        QFile file(book.databasePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void StartupTest::usableDatabase()
{
    TemporaryAddressBook book;
    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    const std::unique_ptr<TMainForm> form = createMainWindow();
    QVERIFY(form);
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(desktop.shortcutsWritten, 1);
    QVERIFY(!form->isVisible());    // shown by the message loop's caller
}

void StartupTest::errorEscapingAHandler_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("standardException");
    QTest::addColumn<QString>("shown");

    QTest::newRow("database error") << "database is locked" << false << "database is locked.";
    QTest::newRow("ends in a full stop already") << "no such table: inr." << false << "no such table: inr.";
    QTest::newRow("Chinese text") << "数据库已损坏" << false << "数据库已损坏.";
    QTest::newRow("standard exception") << "bad conversion" << true << "bad conversion.";
}

void StartupTest::errorEscapingAHandler()
{
    QFETCH(QString, failure);
    QFETCH(bool, standardException);
    QFETCH(QString, shown);

    AnsweringDialogs dialogs;
    FailingWidget widget;
    widget.failure = failure;
    widget.standardException = standardException;
    widget.resize(100, 100);
    widget.show();

    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, shown);
    QCOMPARE(dialogs.messages.first().icon, MessageIcon::Stop);
    QCOMPARE(dialogs.messages.first().title, QApplication::applicationDisplayName());
    // The program runs on and the widget still takes events.
    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(widget.presses, 2);
    QVERIFY(widget.isVisible());
}

void StartupTest::errorEscapingASlot()
{
    AnsweringDialogs dialogs;
    QPushButton button("添加");
    QObject::connect(&button, &QPushButton::clicked, [] { throw Error("constraint failed"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.texts(), QStringList{"constraint failed."});
}

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    QApplication::setApplicationDisplayName(applicationTitle());
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
