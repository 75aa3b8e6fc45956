#pragma once
#include "FormStyle.h"
#include "templates/WaybillTemplate.h"

#include <QImage>
#include <QList>
#include <QRectF>

class QPainter;

// Draws a template's blank pre-printed form: header, frame, the sender and recipient blocks,
// and a ruled, labelled field at every text slot, so that each slot sits on its field.
class FormSheet {
public:
    explicit FormSheet(const corvane::WaybillTemplate& waybillTemplate);

    // The picture at its own pixel size; `grain` adds a scanner's faint noise (0 for none).
    QImage draw(int grain);

    // Fields whose label found no free place (they are drawn without one).
    const QStringList& unlabelled() const { return m_unlabelled; }

private:
    void drawHeader(QPainter& painter);
    void drawBarcode(QPainter& painter);
    void drawField(QPainter& painter, const corvane::TextSlot& slot);
    void drawDateUnit(QPainter& painter, const corvane::TextSlot& slot);
    void drawBlock(QPainter& painter, corvane::SlotRole role);
    void drawFooter(QPainter& painter);
    void drawServicePanels(QPainter& painter);
    // Nothing drawn there yet, inside the page, and (for the fields) inside the frame.
    bool isFree(const QRectF& area, bool insideFrame = true) const;
    bool placeText(QPainter& painter, const QString& text, const QList<QRectF>& candidates, const QFont& font,
                   Qt::Alignment alignment, int owner = 0);
    QRectF pageArea() const;

    const corvane::WaybillTemplate& m_template;
    FormStyle m_style;
    QList<QRectF> m_taken; // slots, labels and printed marks already on the sheet
    struct PlacedLabel {
        QRectF rect;
        int slot; // the slot it names, 0 for none
    };
    QList<PlacedLabel> m_labels;
    QStringList m_unlabelled;
    qreal m_frameTop = 0;
};
