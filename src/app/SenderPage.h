#pragma once
#include <QVector>
#include <QWidget>

class QAbstractButton;
class QLineEdit;
class QMenu;
class QToolButton;

namespace corvane {

class DataGrid;
class List;

// TabSheet1: the senders (table outr). The current row of the sender list is the sender printed.
class SenderPage : public QWidget {
    Q_OBJECT
public:
    SenderPage(List* senders, QWidget* parent = nullptr);

    // The navigation bar's date button (SpeedButton8), whose caption tells what a press does.
    void setDateButton(QAbstractButton* button);
    DataGrid* grid() const { return m_grid; }
    QString rememberedName() const;     // Edit28

    // FormCreate: the date of the first sender and the remembered name.
    void startUp();

public Q_SLOTS:
    void SpeedButton1Click();           // "寄件信息" and the recipient page's "切换"
    void SpeedButton8Click();           // the date button
    void SpeedButton11Click();          // "添加"
    void SpeedButton12Click();          // "修改"
    void SpeedButton13Click();          // "删除"
    void DBGridEh1CellClick(int row);
    void DBGridEh1DblClick();
    void N50Click() { DBGridEh1DblClick(); }
    void N51Click() { SpeedButton13Click(); }

Q_SIGNALS:
    void SpeedButton14Click();          // "切换": the main window shows the recipient page

private:
    void showDate(const QStringList& parts);
    void setAddMode(bool add);
    void guarded(void (SenderPage::*handler)());

    List* m_senders;
    QVector<QLineEdit*> m_boxes;        // Edit1 .. Edit9
    QVector<QLineEdit*> m_dateBoxes;    // Edit25 .. Edit27
    QLineEdit* m_remembered;            // Edit28
    QToolButton* m_add;
    QToolButton* m_modify;
    QMenu* m_popup;
    DataGrid* m_grid;
    QAbstractButton* m_dateButton = nullptr;
};

}
