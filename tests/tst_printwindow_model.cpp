// The print window's model without any widget: the amount conversion, moves and type over all
// 33 templates of the window's own catalogue copy.
#include "core/Error.h"
#include "printwindows/MoveAmount.h"
#include "printwindows/PrintWindowModel.h"

#include <QtTest>

using namespace corvane;

class TestPrintWindowModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<int>("value");
        QTest::newRow("decimal") << "10" << true << 10;
        QTest::newRow("negative") << "-20" << true << -20;
        QTest::newRow("plus") << "+5" << true << 5;
        QTest::newRow("blanks before") << "   5" << true << 5;
        QTest::newRow("blanks before sign") << "  -5" << true << -5;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("dollar") << "$ff" << true << 255;
        QTest::newRow("x") << "X10" << true << 16;
        QTest::newRow("0x") << "0x7FFFFFFF" << true << 2147483647;
        QTest::newRow("hex uses all 32 bits") << "$FFFFFFFF" << true << -1;
        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("blank after") << "5 " << false << 0;
        QTest::newRow("blank inside") << "1 0" << false << 0;
        QTest::newRow("fraction") << "2.0" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
        QTest::newRow("blank between sign and digits") << "- 5" << false << 0;
        QTest::newRow("too large") << "2147483648" << false << 0;
        QTest::newRow("too small") << "-2147483649" << false << 0;
        QTest::newRow("hex too large") << "$100000000" << false << 0;
        QTest::newRow("dollar alone") << "$" << false << 0;
        QTest::newRow("hex digit in decimal") << "1a" << false << 0;
        QTest::newRow("tab before") << "\t5" << false << 0;
    }
    void conversion()
    {
        QFETCH(QString, text);
        QFETCH(bool, converts);
        QFETCH(int, value);
        int result = 12345;
        QCOMPARE(tryConvertMoveAmount(text, &result), converts);
        if (converts) {
            QCOMPARE(result, value);
            QCOMPARE(convertMoveAmount(text), value);
        } else {
            try {
                convertMoveAmount(text);
                QFAIL("converted");
            } catch (const Error& e) {
                QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
            }
        }
    }

    void movesReachEveryItemOnceAndEmptyDoesNothing()
    {
        PrintWindowModel model(PrintWindowKind::Dd);
        const Catalogue built(PrintWindowKind::Dd);
        int changes = 0;
        connect(&model, &PrintWindowModel::layoutChanged, this, [&] { ++changes; });
        QVERIFY(!model.moveVertically(QString()));
        QVERIFY(!model.moveHorizontally(QString()));
        QCOMPARE(changes, 0);
        QVERIFY(model.moveVertically(QStringLiteral("3")));
        QVERIFY(model.moveHorizontally(QStringLiteral("-7")));
        QCOMPARE(changes, 2);
        for (int k = 1; k <= 597; ++k) {
            QCOMPARE(model.catalogue().slot(k).rect, built.slot(k).rect.translated(-7, 3));
            QCOMPARE(model.catalogue().slot(k).viewRect, built.slot(k).viewRect.translated(-7, 3));
            QCOMPARE(model.catalogue().slot(k).rect.size(), built.slot(k).rect.size());
        }
        for (int n = 1; n <= 33; ++n) {
            QCOMPARE(model.catalogue().waybillTemplate(n).banner, built.waybillTemplate(n).banner + QPoint(-7, 3));
            QCOMPARE(model.catalogue().waybillTemplate(n).pictureRect, built.waybillTemplate(n).pictureRect);
            QCOMPARE(model.catalogue().waybillTemplate(n).band, built.waybillTemplate(n).band);
        }
        try {
            model.moveVertically(QStringLiteral("x"));
            QFAIL("moved");
        } catch (const Error&) {
        }
        QCOMPARE(changes, 2);
        QCOMPARE(model.catalogue().slot(1).rect, built.slot(1).rect.translated(-7, 3));
    }

    void typeStartsFromTheDialogFaceAndKeepsLargeType()
    {
        PrintWindowModel model(PrintWindowKind::Ped);
        QCOMPARE(model.dialogFont().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(model.dialogFont().pixelSize(), 11);
        QVERIFY(!model.dialogFont().bold());
        QFont font(QStringLiteral("黑体"));
        font.setPointSize(14);
        font.setUnderline(true);
        model.setType(font, Qt::red);
        QCOMPARE(model.dialogFont(), font);
        QCOMPARE(model.dialogColour(), QColor(Qt::red));
        const QList<int> large{464, 465, 466, 467, 468, 469, 470, 491, 509, 528, 597};
        for (int k = 1; k <= 597; ++k) {
            if (large.contains(k))
                QCOMPARE(model.catalogue().slot(k).font.bold(), true);
            else
                QCOMPARE(model.catalogue().slot(k).font, font);
        }
    }
};

QTEST_MAIN(TestPrintWindowModel)
#include "tst_printwindow_model.moc"
