#pragma once
#include "output/ReportPage.h"
#include "templates/SlotRows.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <vector>
#include <QSize>

namespace corvane {

struct WaybillTemplate;

// The report page of one template of a print window's catalogue copy: page and band of the
// template's size, one print box per slot (QRRichTextK) and the banner label (QRLabelN).
// Its before-print handler fills the template from the rows and copies the print boxes'
// lines, positions and type into the band, so moves and type changes made in the catalogue
// reach the next layout.
class TemplateReportPage : public ReportPage {
    Q_OBJECT
public:
    TemplateReportPage(WaybillTemplate& waybillTemplate, SlotRows rows, QObject* parent = nullptr);

    WaybillTemplate& waybillTemplate() const { return m_template; }
    void setRows(SlotRows rows) { m_rows = std::move(rows); }

    // The band's before-print step: fill the print boxes from the rows, then take them over.
    void fillBand();
    // Page size, band, print boxes and banner label from the template as it is now.
    void takeTemplate();

private:
    // What the band's elements were last made from.
    struct ElementSource {
        QRect rect;
        QFont font;
        QColor colour;
    };
    bool bandMatchesTemplate() const;

    WaybillTemplate& m_template;
    SlotRows m_rows;
    std::vector<ElementSource> m_sources;
    QPoint m_bannerSource;
    // The banner's caption and type never change: measured once, not on every page of a batch.
    QSize m_bannerLabelSize;
};

// The type a print box prints in: the slot's face and style in whole points.
QFont outputFont(const QFont& font);

}
