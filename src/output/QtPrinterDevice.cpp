#include "output/QtPrinterDevice.h"

#include "core/Error.h"

#include <QFile>
#include <QLibrary>
#include <QPageLayout>
#include <QPageSize>
#include <vector>

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

// libcups is loaded at run time, as Qt's own print support does: no headers needed to build.
struct CupsOption {
    char* name;
    char* value;
};
using CupsPrintFile = int (*)(const char* printer, const char* file, const char* title, int count,
                              CupsOption* options);
using CupsLastErrorString = const char* (*)();

QList<QPageSize> standardPageSizes()
{
    QList<QPageSize> sizes;
    for (int id = 0; id < int(QPageSize::LastPageSize); ++id)
        sizes.append(QPageSize(QPageSize::PageSizeId(id)));
    return sizes;
}

// A PDF file takes every standard size and a user-defined one. The capabilities are read at
// every sheet, so the fixed list is built once.
const QList<int>& pdfPaperKinds()
{
    static const QList<int> kinds = paperKinds(standardPageSizes(), true);
    return kinds;
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
        caps.supportedPaperKinds = pdfPaperKinds();
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
    QPrinter* target = &m_printer;
    if (!m_pdf) {
        m_spoolFile = std::make_unique<QTemporaryFile>();
        if (!m_spoolFile->open())
            throw Error(QStringLiteral("The print job could not be spooled: %1").arg(m_spoolFile->errorString()));
        m_spoolFile->close();
        m_spool = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_spool->setOutputFormat(QPrinter::PdfFormat);
        m_spool->setOutputFileName(m_spoolFile->fileName());
        m_spool->setResolution(m_printer.resolution());
        m_spool->setFullPage(true);
        m_spool->setPageLayout(m_printer.pageLayout());
        m_spool->setColorMode(m_printer.colorMode());
        m_spool->setDocName(documentName);
        target = m_spool.get();
    }
    if (!m_painter.begin(target))
        throw Error(QStringLiteral("The print job could not be started on %1").arg(name()));
    return &m_painter;
}

QPainter* QtPrinterDevice::newSheet()
{
    QPrinter& target = m_spool ? *m_spool : m_printer;
    if (!target.newPage())
        throw Error(QStringLiteral("The printer %1 did not take a new sheet").arg(name()));
    return &m_painter;
}

void QtPrinterDevice::endJob()
{
    const bool ended = m_painter.end();
    if (!ended || (m_spool ? *m_spool : m_printer).printerState() == QPrinter::Error)
        throw Error(QStringLiteral("The print job could not be sent to %1").arg(name()));
    if (m_spool)
        submitSpool();
}

// Hands the spooled sheets to the queue with the options QPrinter itself would send.
void QtPrinterDevice::submitSpool()
{
    const std::unique_ptr<QTemporaryFile> file = std::move(m_spoolFile);
    m_spool.reset();
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto printFile = reinterpret_cast<CupsPrintFile>(cups.resolve("cupsPrintFile"));
    const auto lastError = reinterpret_cast<CupsLastErrorString>(cups.resolve("cupsLastErrorString"));
    if (!printFile)
        throw Error(QStringLiteral("The print job could not be sent to %1: CUPS is not available").arg(name()));

    const QPageLayout layout = m_printer.pageLayout();
    std::vector<std::pair<QByteArray, QByteArray>> values;
    values.emplace_back("media", layout.pageSize().key().toUtf8());
    const int copies = m_printer.copyCount();
    if (copies > 1)
        values.emplace_back("copies", QByteArray::number(copies));
    if (copies > 1 && m_printer.collateCopies())
        values.emplace_back("Collate", "True");
    switch (m_printer.duplex()) {
    case QPrinter::DuplexNone: values.emplace_back("sides", "one-sided"); break;
    case QPrinter::DuplexAuto:
        values.emplace_back("sides", layout.orientation() == QPageLayout::Portrait ? "two-sided-long-edge"
                                                                                   : "two-sided-short-edge");
        break;
    case QPrinter::DuplexLongSide: values.emplace_back("sides", "two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: values.emplace_back("sides", "two-sided-short-edge"); break;
    }
    if (layout.orientation() == QPageLayout::Landscape)
        values.emplace_back("landscape", "");
    std::vector<CupsOption> options;
    for (auto& [key, value] : values)
        options.push_back({key.data(), value.data()});

    const int job = printFile(m_printer.printerName().toLocal8Bit().constData(),
                              QFile::encodeName(file->fileName()).constData(),
                              m_printer.docName().toLocal8Bit().constData(), int(options.size()), options.data());
    if (job == 0)
        throw Error(QStringLiteral("The print job could not be sent to %1: %2")
                        .arg(name(), lastError ? QString::fromLocal8Bit(lastError()) : QString()));
}

void QtPrinterDevice::abortJob()
{
    if (m_painter.isActive())
        m_painter.end();
    if (m_spool) {
        // The spooled sheets never reach the queue.
        m_spool.reset();
        m_spoolFile.reset();
        return;
    }
    // QPrinter cannot abort a PDF file either: what was drawn is removed.
    QFile::remove(m_printer.outputFileName());
}

}
