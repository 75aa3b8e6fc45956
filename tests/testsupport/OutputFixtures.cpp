#include "testsupport/OutputFixtures.h"

#include "core/Fonts.h"
#include "core/PageUnits.h"

namespace corvane::test {

OutputWaybill::OutputWaybill(double width, double length, double bandHeight)
{
    installFontSubstitutions();
    page.Page.Width = width;
    page.Page.Length = length;
    page.band.name = QStringLiteral("QRBand1");
    page.band.Width = width;
    page.band.Height = bandHeight;
    page.band.elements.append(BandElement::printBox(
        QStringLiteral("QRRichText1"), tenthsFromPixels(QRect(120, 100, 97, 22)), boxFont()));
    QFont bannerFont(QStringLiteral("微软雅黑"));
    bannerFont.setPointSize(12);
    bannerFont.setBold(true);
    page.band.elements.append(BandElement::bannerLabel(QStringLiteral("QRLabel1"),
                                                       tenthsFromPixels(QRect(72, 64, 305, 23)),
                                                       bannerFont, QStringLiteral("横幅")));
    page.band.BeforePrint = [this](DetailBand& band, bool&) {
        ++beforePrintCalls;
        const QString text = rows ? rows->current() : singleText;
        printedTexts << text;
        band.element(QStringLiteral("QRRichText1"))->lines = QStringList{text};
    };
}

void OutputWaybill::useRows(const QStringList& values)
{
    ownedRows = std::make_unique<OutputRowsDataSet>(values);
    rows = ownedRows.get();
    page.DataSet = rows;
}

QFont OutputWaybill::boxFont() const
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(11);
    font.setBold(true);
    return font;
}

QStringList numberedRows(int count, const QString& prefix)
{
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << prefix + QString::number(i);
    return rows;
}

}
