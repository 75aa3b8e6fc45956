#include "output/TemplateReportPage.h"

#include "templates/BannerLabel.h"
#include "templates/TemplateFilling.h"
#include "templates/WaybillTemplate.h"

namespace corvane {

QFont outputFont(const QFont& font)
{
    QFont output(font);
    output.setPointSize(fontWholePoints(font));
    return output;
}

namespace {

// A print box as a clerk names it: "收件人城市", "寄件单位", "收件人城市（大字）".
QString fieldName(const TextSlot& slot)
{
    QString name = slot.column;
    if (!name.startsWith(QStringLiteral("寄件")) && !name.startsWith(QStringLiteral("收件")))
        name.prepend(slot.role == SlotRole::Sender ? QStringLiteral("寄件人") : QStringLiteral("收件人"));
    if (slot.largeType)
        name += QStringLiteral("（大字）");
    return name;
}

}

TemplateReportPage::TemplateReportPage(WaybillTemplate& waybillTemplate, SlotRows rows, QObject* parent)
    : ReportPage(QStringLiteral("QuickRep%1").arg(waybillTemplate.number), parent),
      m_template(waybillTemplate), m_rows(std::move(rows)), m_bannerLabelSize(bannerLabelSize())
{
    Page.PaperSize = PaperKind::UserDefined;
    Page.Orientation = PageOrientation::Portrait;
    band.name = QStringLiteral("QRBand%1").arg(waybillTemplate.number);
    band.BeforePrint = [this](DetailBand&, bool&) { fillBand(); };
    takeTemplate();
}

void TemplateReportPage::fillBand()
{
    // The same filling as fillTemplate; the layout run's wrap cache answers the values that
    // repeat on every page of a batch.
    auto& textSlots = m_template.textSlots;
    QStringList values;
    values.reserve(textSlots.size());
    for (TextSlot& slot : textSlots) {
        values.append(slotText(slot, m_rows));
        slot.lines = viewBoxLines(values.last(), slot.font, slot.viewRect.width());
    }
    if (!bandMatchesTemplate()) {
        takeTemplate();
        return;
    }
    // Only the texts changed: the elements keep their place and type.
    for (qsizetype i = 0; i < textSlots.size(); ++i) {
        band.elements[i].lines = textSlots[i].lines;
        band.elements[i].value = values.at(i);
    }
}

bool TemplateReportPage::bandMatchesTemplate() const
{
    const auto& textSlots = m_template.textSlots;
    if (m_sources.size() != size_t(textSlots.size()) || band.elements.size() != textSlots.size() + 1
        || m_bannerSource != m_template.banner || Page.Width != m_template.pageWidth
        || Page.Length != m_template.pageLength || band.Height != m_template.bandTenths().height()
        || band.Width != m_template.bandTenths().width())
        return false;
    for (qsizetype i = 0; i < textSlots.size(); ++i) {
        const ElementSource& source = m_sources[size_t(i)];
        const TextSlot& slot = textSlots[i];
        if (source.rect != slot.rect || source.colour != slot.colour || source.font != slot.font)
            return false;
    }
    return true;
}

void TemplateReportPage::takeTemplate()
{
    Page.Width = m_template.pageWidth;
    Page.Length = m_template.pageLength;
    const QSizeF bandSize = m_template.bandTenths();
    band.Width = bandSize.width();
    band.Height = bandSize.height();

    QList<BandElement> elements;
    elements.reserve(m_template.textSlots.size() + 1);
    m_sources.clear();
    m_sources.reserve(size_t(m_template.textSlots.size()));
    m_bannerSource = m_template.banner;
    for (const TextSlot& slot : m_template.textSlots) {
        m_sources.push_back({slot.rect, slot.font, slot.colour});
        BandElement box = BandElement::printBox(QStringLiteral("QRRichText%1").arg(slot.number),
                                                slot.rectTenths(), outputFont(slot.font));
        box.colour = slot.colour;
        box.lines = slot.lines;
        box.field = fieldName(slot);
        box.value = slotText(slot, m_rows);
        elements.append(box);
    }
    QFont labelFont = bannerFont();
    labelFont.setPointSize(12);
    elements.append(BandElement::bannerLabel(
        QStringLiteral("QRLabel%1").arg(m_template.number),
        QRectF(m_template.bannerTenths(), tenthsFromPixels(m_bannerLabelSize)), labelFont, bannerText()));
    for (BandElement& e : elements)
        e.printing = !available();
    band.elements = std::move(elements);
}

}
