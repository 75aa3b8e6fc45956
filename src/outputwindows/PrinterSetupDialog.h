#pragma once
#include "output/PrinterSetupRequest.h"

class QWidget;

namespace corvane {

// The standard print dialog, filled from `request` and, when the user accepts, read back into
// it; false when cancelled.
bool runPrinterSetupDialog(QWidget* parent, PrinterSetupRequest& request);

}
