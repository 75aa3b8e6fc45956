#include "output/QtPrinterDevice.h"

#include "app/Error.h"

#include <QPageLayout>
#include <QPageSize>

namespace corvane {

namespace {

// Windows duplex codes: 1 simplex, 2 long edge (vertical), 3 short edge (horizontal).
int duplexCode(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexLongSide: return 2;
    case QPrinter::DuplexShortSide: return 3;
    default: return 1;
    }
}

QList<int> paperKinds(const QList<QPageSize>& sizes, bool userDefined)
{
    QList<int> kinds;
    for (const QPageSize& size : sizes) {
        const int code = size.windowsId();
        // Sizes without a code of their own report the user-defined code; skip them.
        if (code != PaperKind::None && code != PaperKind::UserDefined && !kinds.contains(code))
            kinds.append(code);
    }
    if (userDefined)
        kinds.append(PaperKind::UserDefined);
    return kinds;
}

QList<QPageSize> standardPageSizes()
{
    QList<QPageSize> sizes;
    for (int id = 0; id < int(QPageSize::LastPageSize); ++id)
        sizes.append(QPageSize(QPageSize::PageSizeId(id)));
    return sizes;
}

}

QtPrinterDevice::QtPrinterDevice() : m_printer(QPrinter::HighResolution) {}

QtPrinterDevice::QtPrinterDevice(const QPrinterInfo& info)
    : m_printer(info, QPrinter::HighResolution), m_info(info)
{
    m_printer.setFullPage(true);
}

std::unique_ptr<QtPrinterDevice> QtPrinterDevice::pdfFile(const QString& fileName)
{
    std::unique_ptr<QtPrinterDevice> device(new QtPrinterDevice());
    device->m_pdf = true;
    device->m_printer.setOutputFormat(QPrinter::PdfFormat);
    device->m_printer.setOutputFileName(fileName);
    device->m_printer.setFullPage(true);
    device->m_printer.setPageSize(QPageSize(QPageSize::A4));
    return device;
}

QString QtPrinterDevice::name() const
{
    return m_pdf ? m_printer.outputFileName() : m_printer.printerName();
}

PrinterCapabilities QtPrinterDevice::capabilities() const
{
    PrinterCapabilities caps;
    caps.dpiX = m_printer.resolution();
    caps.dpiY = m_printer.resolution();
    // Full-page mode: the device origin is the sheet's corner.
    caps.unprintableLeft = 0;
    caps.unprintableTop = 0;
    const QPageSize pageSize = m_printer.pageLayout().pageSize();
    const QSizeF millimetres = pageSize.size(QPageSize::Millimeter);
    caps.physicalWidth = millimetres.width() * 10;
    caps.physicalLength = millimetres.height() * 10;
    caps.currentPaperKind = pageSize.windowsId();
    if (m_pdf) {
        caps.supportedPaperKinds = paperKinds(standardPageSizes(), true);
    } else {
        caps.supportedPaperKinds = paperKinds(m_info.supportedPageSizes(), m_info.supportsCustomPageSizes());
        caps.supportsDuplex = m_info.supportedDuplexModes().size() > 1;
    }
    caps.reportsCopies = true;
    caps.copies = m_printer.copyCount();
    caps.duplexCode = duplexCode(m_printer.duplex());
    caps.collate = m_printer.collateCopies() ? 1 : 0;
    return caps;
}

void QtPrinterDevice::applySettings(const PrinterJobSettings& settings)
{
    QPageSize pageSize;
    if (settings.paperKind != PaperKind::UserDefined && settings.paperKind != PaperKind::None)
        pageSize = QPageSize(QPageSize::id(settings.paperKind));
    if (!pageSize.isValid()) {
        // Exact match: the fuzzy match would snap a size within a millimetre to a standard one.
        pageSize = QPageSize(QSizeF(settings.paperWidth / 10.0, settings.paperLength / 10.0),
                             QPageSize::Millimeter, QStringLiteral("Custom"), QPageSize::ExactMatch);
    }
    m_printer.setFullPage(true);
    m_printer.setPageSize(pageSize);
    m_printer.setPageOrientation(settings.orientation == PageOrientation::Landscape
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
    m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    m_printer.setCopyCount(settings.copies);
    if (!m_pdf && m_info.supportedDuplexModes().size() > 1) {
        const int code = settings.extendedDuplex != 0 ? settings.extendedDuplex : (settings.duplex ? 2 : 1);
        m_printer.setDuplex(code == 2 ? QPrinter::DuplexLongSide
                                      : code == 3 ? QPrinter::DuplexShortSide : QPrinter::DuplexNone);
    }
    // Colour: 1 monochrome, 2 colour (Windows codes); 0 leaves the printer's own choice.
    if (settings.colour == 1)
        m_printer.setColorMode(QPrinter::GrayScale);
    else if (settings.colour == 2)
        m_printer.setColorMode(QPrinter::Color);
    if (settings.collate != 0)
        m_printer.setCollateCopies(settings.collate == 1);
}

QPainter* QtPrinterDevice::beginJob(const QString& documentName)
{
    m_printer.setDocName(documentName);
    if (!m_painter.begin(&m_printer))
        throw Error(QStringLiteral("The print job could not be started on %1").arg(name()));
    return &m_painter;
}

QPainter* QtPrinterDevice::newSheet()
{
    if (!m_printer.newPage())
        throw Error(QStringLiteral("The printer %1 did not take a new sheet").arg(name()));
    return &m_painter;
}

void QtPrinterDevice::endJob()
{
    const bool ended = m_painter.end();
    if (!ended || m_printer.printerState() == QPrinter::Error)
        throw Error(QStringLiteral("The print job could not be sent to %1").arg(name()));
}

void QtPrinterDevice::abortJob()
{
    m_printer.abort();
    if (m_painter.isActive())
        m_painter.end();
}

}
