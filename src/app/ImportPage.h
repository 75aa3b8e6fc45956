#pragma once
#include <QString>
#include <QVector>
#include <QWidget>
#include <functional>

class QLineEdit;

namespace corvane {

class Connection;
class DataGrid;
class List;

// The main window's open-file dialog: "..." on this page gives it its title and filter, and
// the restore shows it with whatever it was last given.
struct OpenFileDialogSettings {
    QString title;
    QString filter;
};

// What the import works on: the main window's connection and its three lists.
struct AddressBook {
    Connection* connection;
    List* senders;       // ADOQuery1
    List* recipients;    // ADOQuery2
    List* imported;      // ADOQuery3
};

// TabSheet3: the rows taken from a spreadsheet (table excel).
class ImportPage : public QWidget {
    Q_OBJECT
public:
    // rememberedSenderName: the sender page's Edit28, which the sender list is searched for
    // after an import.
    ImportPage(const AddressBook& book, std::function<QString()> rememberedSenderName,
               OpenFileDialogSettings* openDialog, QWidget* parent = nullptr);

    DataGrid* grid() const { return m_grid; }

    static QString dialogTitle();    // "请选择相应的Excel文件"
    static QString dialogFilter();   // .xls first, then .xlsx, .csv and all three

public Q_SLOTS:
    void SpeedButton5Click();           // "Excel导入": every imported row, and the page shown
    void SpeedButton21Click();          // "...": choose the workbook
    void SpeedButton22Click();          // "开始导入"
    void SpeedButton23Click();          // "查询"
    void SpeedButton24Click();          // "刷新"

private:
    void guarded(void (ImportPage::*handler)());
    void reopenLists();

    AddressBook m_book;
    std::function<QString()> m_rememberedSenderName;
    OpenFileDialogSettings* m_openDialog;
    QLineEdit* m_path;                  // Edit22
    QVector<QLineEdit*> m_searchBoxes;  // Edit23, Edit24, Edit30
    DataGrid* m_grid;
};

}
