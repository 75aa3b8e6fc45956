#pragma once
#include "output/PageSetup.h"

#include <QString>
#include <QStringList>

namespace corvane {

// The choices of the printer setup dialog, going in and coming back.
struct PrinterSetupRequest {
    QStringList printers;
    int printerIndex = 0;             // index into printers
    int minPage = 0;
    int maxPage = 9999;
    bool pageRange = false;           // false: all pages
    int fromPage = 0;
    int toPage = 0;
    int copies = 1;
    PageOrientation orientation = PageOrientation::Portrait;
    QString outputFileName;           // set when the user chose to print to a PDF file
};

}
