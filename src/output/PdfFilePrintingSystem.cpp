#include "output/PdfFilePrintingSystem.h"

#include "core/Error.h"

namespace corvane {

QStringList PdfFilePrintingSystem::printerNames() const
{
    return {m_fileName};
}

std::unique_ptr<PrinterDevice> PdfFilePrintingSystem::openPrinter(int index)
{
    if (index != 0)
        throw Error(QStringLiteral("Printer selection out of range"));
    return openPdfFile(m_fileName);
}

}
