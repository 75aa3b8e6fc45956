#pragma once
#include "app/Desktop.h"
#include "app/MainUnit.h"
#include "testsupport/AnsweringDialogs.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVector>
#include <memory>

namespace corvane::test {

// A desktop that records instead of touching the user's one. Installed while it lives.
class RecordingDesktop : public Desktop {
public:
    RecordingDesktop();
    ~RecordingDesktop() override;

    void writeShortcut() override { ++shortcutsWritten; }
    void open(const QUrl& url) override { opened << url; }
    bool grabHelpKey(std::function<void()> pressed) override;
    void releaseHelpKey() override { helpKey = nullptr; }

    int shortcutsWritten = 0;
    QList<QUrl> opened;
    bool grabSucceeds = false;
    std::function<void()> helpKey;    // set while the key is grabbed
};

// A temporary folder made the working directory while it lives, holding an empty data.mdb
// unless told otherwise.
class TemporaryAddressBook {
public:
    explicit TemporaryAddressBook(bool withDatabase = true);
    ~TemporaryAddressBook();

    QString path() const { return m_dir.path(); }
    QString databasePath() const;

    // Runs a statement through a connection of its own.
    void exec(const QString& sql, const QVariantList& params = {});
    // A row given in table order; missing trailing columns stay absent.
    void insert(const QString& table, const QStringList& values);
    // Every row in table order, each as its values in column order ("" for absent values).
    QVector<QStringList> rows(const QString& table) const;
    QStringList column(const QString& table, const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previousDirectory;
};

// The main window over a temporary address book, made as start-up makes it, shown, with its
// dialogs and desktop answered by the test.
class MainWindowFixture {
public:
    // Rows are inserted before the window opens; `today` fixes the clock when valid.
    explicit MainWindowFixture(const QVector<QStringList>& senders = {}, const QVector<QStringList>& recipients = {},
                               const QDate& today = QDate(2024, 5, 9));
    ~MainWindowFixture();

    TMainForm& form() const { return *m_form; }
    template<class T> T* find(const QString& name) const;

    // Types into a box as a user does, so that its modification flag is set.
    void type(const QString& box, const QString& text) const;
    void click(const QString& button) const;
    void clickRow(const QString& grid, int row, Qt::KeyboardModifiers modifiers = {}) const;
    void doubleClickRow(const QString& grid, int row) const;
    void selectRows(const QString& grid, const QVector<int>& rows) const;   // by the row numbers at the left
    void triggerMenu(const QString& action) const;
    QStringList texts(const QStringList& boxes) const;

    TemporaryAddressBook book;
    AnsweringDialogs dialogs;
    RecordingDesktop desktop;

private:
    std::unique_ptr<TMainForm> m_form;
};

template<class T> T* MainWindowFixture::find(const QString& name) const
{
    return m_form->findChild<T*>(name);
}

// Names from first to last, e.g. boxNames(10, 19) gives Edit10 .. Edit19.
QStringList boxNames(int first, int last);

}
