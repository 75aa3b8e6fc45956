#pragma once
#include <QVector>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace corvane {

class DataGrid;
class List;

// TabSheet2: the recipients (table inr), with a one-criterion search. The current row of the
// recipient list is the recipient a single waybill prints.
class RecipientPage : public QWidget {
    Q_OBJECT
public:
    RecipientPage(List* recipients, QWidget* parent = nullptr);

    DataGrid* grid() const { return m_grid; }

public Q_SLOTS:
    void SpeedButton2Click();           // "收件信息" and the sender page's "切换"
    void SpeedButton15Click();          // "添加"
    void SpeedButton16Click();          // "修改"
    void SpeedButton17Click();          // "删除"
    void SpeedButton19Click();          // "查询"
    void SpeedButton20Click();          // "刷新"
    void DBGridEh2DblClick();
    void N52Click() { DBGridEh2DblClick(); }
    void N53Click() { SpeedButton17Click(); }

Q_SIGNALS:
    void SpeedButton18Click();          // "切换": the main window shows the sender page

private:
    void setAddMode(bool add);
    void showRecordCount();
    void guarded(void (RecipientPage::*handler)());

    List* m_recipients;
    QVector<QLineEdit*> m_boxes;        // Edit10 .. Edit19
    QVector<QLineEdit*> m_searchBoxes;  // Edit20, Edit21, Edit29
    QToolButton* m_add;
    QToolButton* m_modify;
    QLabel* m_recordCount;
    QMenu* m_popup;
    DataGrid* m_grid;
};

}
