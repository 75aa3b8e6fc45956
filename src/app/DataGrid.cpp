#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "core/Dialogs.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace corvane {

namespace {
const QColor evenRowColor(238, 238, 238);
const QColor cursorRowColor(204, 228, 247);
}

ListModel::ListModel(List* list, QVector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_columns(std::move(columns))
{
    resolveColumns();
    connect(list, &List::aboutToReset, this, [this] { beginResetModel(); });
    connect(list, &List::reset, this, [this] {
        resolveColumns();
        m_shownCurrent = m_list->RecNo();
        endResetModel();
    });
    connect(list, &List::rowChanged, this, [this](int row) {
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(list, &List::currentChanged, this, [this](int row) {
        const int old = m_shownCurrent;
        m_shownCurrent = row;
        for (int r : {old, row})
            if (r >= 0 && r < rowCount())
                Q_EMIT dataChanged(index(r, 0), index(r, columnCount() - 1), {Qt::BackgroundRole});
    });
}

void ListModel::resolveColumns()
{
    m_listColumns.clear();
    for (const GridColumn& c : m_columns)
        m_listColumns << m_list->columnIndex(c.column);
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list->RecordCount();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_list->value(index.row(), m_listColumns.value(index.column(), -1));
    case Qt::BackgroundRole:
        if (index.row() == m_list->RecNo())
            return cursorRowColor;
        // Row numbers count from 1: odd rows white, even rows light grey.
        return (index.row() + 1) % 2 == 0 ? evenRowColor : QColor(Qt::white);
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_columns[section].title.isEmpty() ? m_columns[section].column : m_columns[section].title;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole: {
        QFont f(QStringLiteral("宋体"));
        f.setPixelSize(14);
        f.setBold(true);
        return f;
    }
    default:
        return {};
    }
}

DataGrid::DataGrid(List* list, QVector<GridColumn> columns, bool multiSelect, QWidget* parent)
    : QTableView(parent), m_list(list), m_model(new ListModel(list, columns, this)), m_multiSelect(multiSelect)
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::NoSelection);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setFixedHeight(18);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fitColumnWidths();

    // The view's cursor follows the list, and moving the cursor in the view moves the list.
    connect(list, &List::currentChanged, this, [this](int row) {
        if (row >= 0 && row < m_model->rowCount() && currentIndex().row() != row)
            selectionModel()->setCurrentIndex(m_model->index(row, qMax(0, currentIndex().column())),
                                              QItemSelectionModel::NoUpdate);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != m_list->RecNo())
                    m_list->setRecNo(current.row());
            });
}

QVector<GridColumn> DataGrid::senderColumns()
{
    return {{"姓名", {}, 70}, {"城市", {}, 70}, {"寄件单位", {}, 135}, {"邮编", "邮政编码", 80},
            {"地址", "寄件地址", 200}, {"手机", {}, 80}, {"电话", {}, 90}, {"签名", {}, 70}, {"备注", {}, 120}};
}

QVector<GridColumn> DataGrid::recipientColumns()
{
    return {{"姓名", {}, 70}, {"城市", {}, 65}, {"收件单位", {}, 110}, {"邮编", "邮政编码", 70},
            {"地址", "收件地址", 180}, {"手机", {}, 80}, {"电话", {}, 90}, {"内件品名", {}, 110},
            {"数量", {}, 50}, {"备注", {}, 90}};
}

QVector<int> DataGrid::selectedRows() const
{
    QVector<int> rows;
    if (!m_multiSelect)
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DataGrid::clearSelectedRows()
{
    selectionModel()->clearSelection();
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitColumnWidths();
}

// The designed widths, scaled together so that the columns fill the grid's width exactly.
void DataGrid::fitColumnWidths()
{
    const QVector<GridColumn>& columns = m_model->columns();
    int designed = 0;
    for (const GridColumn& c : columns)
        designed += c.width;
    const int available = viewport()->width();
    if (designed <= 0 || available <= 0 || !isVisible()) {
        for (int c = 0; c < columns.size(); ++c)
            setColumnWidth(c, columns[c].width);
        return;
    }
    int used = 0;
    for (int c = 0; c < columns.size(); ++c) {
        const int width = c + 1 == columns.size() ? available - used
                                                  : columns[c].width * available / designed;
        setColumnWidth(c, width);
        used += width;
    }
}

void DataGrid::mousePressEvent(QMouseEvent* event)
{
    // Only the left button moves or selects: the right one opens the grid's menu, whose delete
    // must act on the rows the user selected, and the current row is the one printed.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
        // A plain click chooses the row without selecting it: selection is for deleting.
        clearSelectedRows();
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_list->setRecNo(index.row());
        Q_EMIT cellClicked(index.row());
        return;
    }
    QTableView::mousePressEvent(event);
    if (index.isValid() && event->button() == Qt::LeftButton)
        Q_EMIT cellClicked(index.row());
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        m_list->setRecNo(index.row());
        Q_EMIT rowDoubleClicked(index.row());
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

QItemSelectionModel::SelectionFlags DataGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // Moving with the keys chooses a row and drops the selection, as a plain click does;
    // only Shift extends it.
    if (event && event->type() == QEvent::KeyPress
        && !(static_cast<const QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier))
        return QItemSelectionModel::Clear;
    return QTableView::selectionCommand(index, event);
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        deleteWithQuestion();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::deleteWithQuestion()
{
    if (m_list->RecordCount() == 0)
        return;
    const QVector<int> rows = selectedRows();
    // The same question as the pages' "删除", whether one row or several are selected.
    if (!Dialogs::confirm(this, QStringLiteral("确定要删除选中的记录？")))
        return;
    if (rows.isEmpty()) {
        m_list->Delete();
    } else {
        m_list->deleteRows(rows);
        clearSelectedRows();
    }
}

}
