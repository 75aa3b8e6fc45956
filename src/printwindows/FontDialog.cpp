#include "printwindows/FontDialog.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace corvane {

namespace {

void showSwatch(QLabel* swatch, const QColor& colour)
{
    swatch->setStyleSheet(QStringLiteral("QLabel { background: %1; border: 1px solid #808080; }").arg(colour.name()));
}

}

bool SystemFontChooser::choose(QWidget* parent, QFont& font, QColor& colour)
{
    // Qt's dialog speaks Chinese while it is open.
    QTranslator chinese;
    const bool translated = chinese.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"),
                                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(&chinese);
    struct Remove {
        QTranslator* translator;
        bool installed;
        ~Remove()
        {
            if (installed)
                QCoreApplication::removeTranslator(translator);
        }
    } remove{&chinese, translated};

    QFontDialog dialog(font, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("字体"));
    QColor chosen = colour;

    // Qt's dialog has no colour; a row under its sample adds one.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QStringLiteral("颜色："), &dialog);
        auto* swatch = new QLabel(&dialog);
        swatch->setFixedSize(40, 18);
        showSwatch(swatch, chosen);
        auto* pick = new QPushButton(QStringLiteral("选择颜色…"), &dialog);
        pick->setAutoDefault(false);
        QObject::connect(pick, &QPushButton::clicked, &dialog, [&] {
            const QColor c = QColorDialog::getColor(chosen, &dialog, QStringLiteral("颜色"));
            if (c.isValid()) {
                chosen = c;
                showSwatch(swatch, chosen);
            }
        });
        row->addWidget(label);
        row->addWidget(swatch);
        row->addWidget(pick);
        row->addStretch(1);
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = dialog.selectedFont();
    colour = chosen;
    return true;
}

}
