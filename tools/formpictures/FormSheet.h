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
    // `copies`: the print windows' copies of one template that show this picture (the first
    // gives the picture's size and place); every copy's boxes and banner are respected.
    explicit FormSheet(const QList<corvane::WaybillTemplate>& copies);

    // The picture at its own pixel size; `grain` adds a scanner's faint noise (0 for none).
    QImage draw(int grain);

    // Fields whose label found no free place (they are drawn without one).
    const QStringList& unlabelled() const { return m_unlabelled; }

private:
    void drawHeader(QPainter& painter);
    bool placeHeader(QPainter& painter, qreal x, qreal smallest);
    void drawBarcode(QPainter& painter);
    void drawField(QPainter& painter, const corvane::TextSlot& slot);
    void drawDateUnit(QPainter& painter, const corvane::TextSlot& slot);
    void drawBlock(QPainter& painter, corvane::SlotRole role);
    void drawFooter(QPainter& painter);
    void drawServicePanels(QPainter& painter);
    // Nothing drawn there yet, inside the page, and (for the fields) inside the frame.
    bool isFree(const QRectF& area, bool insideFrame = true) const;
    bool placeText(QPainter& painter, const QString& text, const QList<QRectF>& candidates, const QFont& font,
                   Qt::Alignment alignment, int owner = 0, qreal gap = 0);
    // A label set in short lines one under the other (one character a line for an upright
    // label) in a narrow gap left of its box.
    bool placeStacked(QPainter& painter, const QStringList& lines, const QRectF& box, int owner);
    // Where the banner is printed over the form, with a little air round it.
    QRectF bannerArea() const;
    QRectF pageArea() const;

    corvane::WaybillTemplate m_template; // slots with the union of their rectangles over the copies
    QRectF m_banner;                     // the union of the copies' banner labels
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
