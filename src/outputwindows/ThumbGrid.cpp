#include "outputwindows/ThumbGrid.h"

#include "output/DeviceScale.h"
#include "outputwindows/PageImage.h"
#include "output/TPageRun.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPicture>
#include <QStyledItemDelegate>

namespace corvane {

class ThumbDelegate : public QStyledItemDelegate {
public:
    explicit ThumbDelegate(ThumbGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // The cell itself first, highlighted when selected.
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.button());
        m_grid->paintThumb(painter, option.rect, index.row());
    }

private:
    ThumbGrid* m_grid;
};

ThumbGrid::ThumbGrid(QWidget* parent) : QTableWidget(parent)
{
    setObjectName(QStringLiteral("ThumbGrid"));
    setColumnCount(1);
    setRowCount(0);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setBackgroundRole(QPalette::Button);
    viewport()->setBackgroundRole(QPalette::Button);
    setItemDelegate(new ThumbDelegate(this));
    computeGeometry();
}

void ThumbGrid::setPaper(double widthTenths, double lengthTenths, bool landscape)
{
    m_paperWidth = widthTenths;
    m_paperLength = lengthTenths;
    m_landscape = landscape;
    computeGeometry();
}

void ThumbGrid::setPageRows(int rows)
{
    if (rowCount() != rows)
        setRowCount(rows);
    viewport()->update();
}

void ThumbGrid::computeGeometry()
{
    Geometry g;
    g.textHeight = QFontMetrics(font()).height(); // the text height of "P"
    g.columnWidth = width() - 4;
    g.thumbWidth = g.columnWidth - 20;
    const double ratio = m_landscape ? m_paperWidth / m_paperLength : m_paperLength / m_paperWidth;
    g.thumbHeight = roundHalfEven(g.thumbWidth * ratio - g.textHeight);
    const int rowHeight = qMax(1, g.thumbHeight);
    g.offsetX = roundHalfEven((g.columnWidth - g.thumbWidth) / 2.0);
    g.offsetY = roundHalfEven((rowHeight - g.thumbHeight) / 2.0);
    m_geometry = g;
    setColumnWidth(0, qMax(1, g.columnWidth));
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, rowHeight);
    Q_EMIT geometryChanged();
}

void ThumbGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    computeGeometry();
}

void ThumbGrid::paintThumb(QPainter* painter, const QRect& cell, int row) const
{
    if (m_run) {
        if (std::unique_ptr<QPicture> page = m_run->GetPage(row + 1)) {
            const QRect target(QPoint(cell.left() + m_geometry.offsetX, cell.top() + 10),
                               QPoint(cell.right() + 1 - 30, cell.bottom() + 1 - 10));
            if (target.width() > 4 && target.height() > 4) {
                painter->save();
                painter->translate(target.topLeft());
                drawPageImage(*painter, *page, target.width(), target.height());
                painter->restore();
            }
        }
    }
    const QString number = QString::number(row + 1);
    const QFontMetrics metrics(font());
    const QRect label(cell.topLeft(), QSize(metrics.horizontalAdvance(number), metrics.height()));
    painter->fillRect(label, palette().button());
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->setFont(font());
    painter->drawText(label, Qt::AlignLeft | Qt::AlignTop, number);
}

}
