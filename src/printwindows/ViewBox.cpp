#include "printwindows/ViewBox.h"

#include "output/FaceLineMetrics.h"
#include "printwindows/PrintWindowModel.h"
#include "templates/TemplateFilling.h"

#include <QPainter>

namespace corvane {

namespace {
// Border and text margin as TemplateFilling measures the box's inner width.
constexpr int border = 2;
constexpr int textMargin = 1;
}

ViewBox::ViewBox(PrintWindowModel& model, int slotNumber, QWidget* parent)
    : QFrame(parent), m_model(model), m_slot(slotNumber)
{
    setObjectName(QStringLiteral("DBMemo%1").arg(slotNumber));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(border);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFocusPolicy(Qt::NoFocus);
    takeSlot();
}

QStringList ViewBox::lines() const
{
    return viewBoxLines(m_model.catalogue().slot(m_slot), m_model.rows());
}

void ViewBox::takeSlot()
{
    const TextSlot& slot = m_model.catalogue().slot(m_slot);
    setGeometry(slot.viewRect);
    setFont(slot.font);
    update();
}

void ViewBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    const TextSlot& slot = m_model.catalogue().slot(m_slot);
    QPainter painter(this);
    const QRect inner = rect().adjusted(border + textMargin, border + textMargin, -(border + textMargin),
                                        -(border + textMargin));
    painter.setClipRect(rect().adjusted(border, border, -border, -border));
    painter.setFont(slot.font);
    painter.setPen(slot.colour);
    // Lines as the page engine spaces them, so the screen matches the paper.
    const LineMetrics metrics = lineMetrics(slot.font, this);
    double y = inner.top();
    for (const QString& line : lines()) {
        if (y > inner.bottom())
            break;
        painter.drawText(QPointF(inner.left(), y + metrics.ascent), line);
        y += metrics.height();
    }
}

}
