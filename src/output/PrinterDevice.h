#pragma once
#include "output/PrinterCapabilities.h"
#include "output/PrinterJobSettings.h"

#include <QString>

class QPainter;

namespace corvane {

// One printer of the printing system, bound for one run. A job is drawn sheet by sheet:
// beginJob opens the job and its first sheet, newSheet starts each further sheet.
// Failures throw corvane::Error.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    virtual QString name() const = 0;
    virtual PrinterCapabilities capabilities() const = 0;
    virtual void applySettings(const PrinterJobSettings& settings) = 0;
    virtual QPainter* beginJob(const QString& documentName) = 0;
    virtual QPainter* newSheet() = 0;
    virtual void endJob() = 0;    // hands the sheets to the printing system
    virtual void abortJob() = 0;  // none of the sheets is printed
};

}
