#pragma once
#include "app/ImportPage.h"

#include <QWidget>
#include <memory>

class QAbstractButton;
class QLabel;
class QMenu;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace corvane {

class Connection;
class ImportPage;
class List;
class RecipientPage;
class SenderPage;

// The borderless main window: banner, navigation bar, the three address pages and the status bar.
// It owns the address book connection and the three lists for the whole run; the print windows
// read the current sender and recipient rows through the accessors below.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // Connects to data.mdb in the working directory and opens the three lists;
    // throws corvane::Error with the engine's text when the file cannot be opened.
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Desktop shortcut, F1 hot key, the first sender's date, the remembered sender name.
    void FormCreate();

    Connection& ADOConnection1() const { return *m_connection; }
    List* ADOQuery1() const { return m_senders.get(); }     // senders (outr)
    List* ADOQuery2() const { return m_recipients.get(); }  // recipients (inr)
    List* ADOQuery3() const { return m_imported.get(); }    // imported rows (excel)

    QTabWidget* PageControl1() const { return m_pages; }
    SenderPage* senderPage() const { return m_senderPage; }
    RecipientPage* recipientPage() const { return m_recipientPage; }
    ImportPage* importPage() const { return m_importPage; }
    QToolButton* navigationButton(int number) const;       // SpeedButton1 .. SpeedButton10

    // Where the navigation bar's menus open: at the button's left edge, just below the bar.
    QPoint popupPosition(const QAbstractButton* button) const;
    void popupUnder(QMenu* menu, const QAbstractButton* button);

    // The folder whose data.mdb backup and restore address: the program's own folder.
    QString programFolder() const { return m_programFolder; }
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    const OpenFileDialogSettings& openFileDialog() const { return m_openDialog; }

    static QUrl webSite(const QString& page = QString());
    // "使用帮助.chm" in the working folder when there is one, else the help shipped beside the program.
    static QUrl helpDocument();

public Q_SLOTS:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton5Click();
    void SpeedButton6Click();   // "数据导出"
    void SpeedButton7Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void Image2Click();
    void Image3Click();
    void N1Click();      // "数据备份"
    void N2Click();      // "数据恢复"
    void N3Click();      // "使用帮助", also F1
    void N5Click();      // "常见问题"
    void N6Click();      // "软件网站"

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFrame();
    void buildNavigationBar();
    void buildPages();
    void buildStatusBar();
    void FormShow();

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<List> m_senders;
    std::unique_ptr<List> m_recipients;
    std::unique_ptr<List> m_imported;

    QWidget* m_navigationBar = nullptr;
    QVector<QToolButton*> m_navigationButtons;
    QTabWidget* m_pages = nullptr;
    SenderPage* m_senderPage = nullptr;
    RecipientPage* m_recipientPage = nullptr;
    ImportPage* m_importPage = nullptr;
    QMenu* m_dataMenu = nullptr;     // PopupMenu3
    OpenFileDialogSettings m_openDialog;
    QString m_programFolder;
    QMenu* m_helpMenu = nullptr;     // PopupMenu4
};

}
