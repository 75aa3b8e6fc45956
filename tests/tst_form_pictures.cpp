// The form pictures as the print windows show them: the places where text and the banner are
// printed must be blank paper on the form, as they are on a courier's real form. A frame line
// across the banner, a label inside a box or a box drawn over another field's print shows up as
// ink where the printed text goes.
#include "core/Fonts.h"
#include "templates/BannerLabel.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"

#include <QHash>
#include <QPainter>
#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(corvane::PrintWindowKind)

using namespace corvane;

namespace {

// The picture on its page as the print window shows it: scaled into its rectangle.
QImage pictureOnPage(const WaybillTemplate& t)
{
    QImage page(t.band, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(t.pictureRect), formPicture(t));
    return page;
}

// The paper's colour: the commonest colour of the picture, to within the scanner's grain.
QRgb paperOf(const QImage& page, const QRect& pictureRect)
{
    QHash<QRgb, int> counts;
    for (int y = pictureRect.top(); y <= pictureRect.bottom(); y += 3)
        for (int x = pictureRect.left(); x <= pictureRect.right(); x += 3) {
            const QRgb p = page.pixel(x, y);
            ++counts[qRgb(qRed(p) & 0xf8, qGreen(p) & 0xf8, qBlue(p) & 0xf8)];
        }
    return std::max_element(counts.begin(), counts.end()).key();
}

bool isInk(QRgb pixel, QRgb paper)
{
    const int d = std::max({qAbs(qRed(pixel) - qRed(paper)), qAbs(qGreen(pixel) - qGreen(paper)),
                            qAbs(qBlue(pixel) - qBlue(paper))});
    return d > 56;
}

double inkShare(const QImage& page, const QRect& area, QRgb paper)
{
    const QRect inside = area.intersected(page.rect());
    if (inside.isEmpty())
        return 0;
    int ink = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ink += isInk(page.pixel(x, y), paper);
    return double(ink) / (inside.width() * inside.height());
}

}

class FormPicturesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void printedPlacesAreBlankPaper_data()
    {
        QTest::addColumn<PrintWindowKind>("window");
        QTest::addColumn<int>("number");
        for (PrintWindowKind window : allPrintWindowKinds)
            for (int number = 1; number <= Catalogue::templateCount; ++number)
                QTest::addRow("%s template %d", qPrintable(printWindowKindName(window)), number) << window << number;
    }

    void printedPlacesAreBlankPaper()
    {
        QFETCH(PrintWindowKind, window);
        QFETCH(int, number);
        const Catalogue catalogue(window);
        const WaybillTemplate& t = catalogue.waybillTemplate(number);
        const QImage page = pictureOnPage(t);
        QVERIFY(!formPicture(t).isNull());
        const QRgb paper = paperOf(page, t.pictureRect);
        // A form is mostly paper: a picture that failed to draw would be all one colour.
        QVERIFY2(inkShare(page, t.pictureRect, paper) > 0.02, "the picture shows no form");

        // The banner's line: no frame line, title or label of the form under it.
        const QRect banner(t.banner, bannerLabelSize());
        const double bannerInk = inkShare(page, banner, paper);
        QVERIFY2(bannerInk < 0.004, qPrintable(QStringLiteral("the form has print under the banner at (%1, %2): %3 % ink")
                                                   .arg(t.banner.x()).arg(t.banner.y()).arg(bannerInk * 100, 0, 'f', 1)));

        // Each box's first line, where its text prints: above the box's own ruling and inside its
        // edges, nothing of the form.
        for (const TextSlot& slot : t.textSlots) {
            const QRect line(slot.rect.left() + 2, slot.rect.top() + 3, slot.rect.width() - 4,
                             qMin(slot.rect.height(), 22) - 8);
            const double ink = inkShare(page, line, paper);
            QVERIFY2(ink < 0.004, qPrintable(QStringLiteral("slot %1 (%2): the form prints where its text goes, %3 % ink")
                                                 .arg(slot.number).arg(slot.column).arg(ink * 100, 0, 'f', 1)));
        }
    }

    // The check above finds a frame line across the banner and a label inside a box.
    void inkUnderThePrintIsFound()
    {
        const Catalogue catalogue(PrintWindowKind::Dd);
        const WaybillTemplate& t = catalogue.waybillTemplate(1);
        QImage page = pictureOnPage(t);
        const QRgb paper = paperOf(page, t.pictureRect);
        const QRect banner(t.banner, bannerLabelSize());
        QVERIFY(inkShare(page, banner, paper) < 0.004);
        QPainter painter(&page);
        painter.setPen(QPen(QColor(10, 107, 71), 1.6));
        painter.drawLine(QPointF(5, banner.top() + 10.5), QPointF(864, banner.top() + 10.5));
        const TextSlot& month = t.textSlots.at(17);
        painter.setFont(QFont(QStringLiteral("微软雅黑"), 9));
        painter.drawText(QRect(month.rect.left(), month.rect.top(), 25, 22), Qt::AlignCenter, QStringLiteral("月"));
        painter.end();
        QVERIFY(inkShare(page, banner, paper) > 0.04);
        QVERIFY(inkShare(page, month.rect.adjusted(2, 3, -2, -8), paper) > 0.02);
    }
};

QTEST_MAIN(FormPicturesTest)
#include "tst_form_pictures.moc"
