#pragma once
#include <QAbstractTableModel>
#include <QTableView>
#include <QVector>

namespace corvane {

class List;

struct GridColumn {
    QString column;   // column of the list
    QString title;    // title shown; the column name when empty
    int width;
};

// Table model over a List's snapshot; the list's current row is painted as the cursor row.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ListModel(List* list, QVector<GridColumn> columns, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const QVector<GridColumn>& columns() const { return m_columns; }

private:
    void resolveColumns();
    List* m_list;
    QVector<GridColumn> m_columns;
    QVector<int> m_listColumns;
    int m_shownCurrent = -1;
};

// Read-only, whole-row grid over a List (DBGridEh1..3). A plain click moves the current row;
// rows are selected by clicking or dragging the row numbers at the left, or with Ctrl and Shift.
// Ctrl+Delete asks and deletes the current row or the selected rows.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(List* list, QVector<GridColumn> columns, bool multiSelect, QWidget* parent = nullptr);

    List* list() const { return m_list; }
    ListModel* listModel() const { return m_model; }
    QVector<int> selectedRows() const;    // list positions, ascending
    void clearSelectedRows();

    static QVector<GridColumn> senderColumns();      // DBGridEh1
    static QVector<GridColumn> recipientColumns();   // DBGridEh2, DBGridEh3

Q_SIGNALS:
    void cellClicked(int row);     // after the clicked row became current
    void rowDoubleClicked(int row);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void deleteWithQuestion();
    void fitColumnWidths();
    List* m_list;
    ListModel* m_model;
    bool m_multiSelect;
};

}
