#include "output/QtPrinterDevice.h"

#include "core/Error.h"
#include "core/OutputFile.h"
#include "output/PdfTextRepair.h"

#include <QFile>
#include <QLibrary>
#include <QPageLayout>
#include <QPageSize>
#include <vector>

#include <cerrno>
#include <sys/statvfs.h>

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

// The PDF writer does not report failed writes, so the finished file is checked: it must end with
// its trailer, and the cross-reference table must point at every object where the object begins.
// A write cut short by a full disk, or with a hole in it, fails this.
bool pdfComplete(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 32)
        return false;
    const qint64 size = file.size();
    const uchar* mapped = file.map(0, size);
    if (!mapped)
        return false;
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size));
    if (!data.startsWith("%PDF-") || !data.trimmed().endsWith("%%EOF"))
        return false;
    const qsizetype startxref = data.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    bool ok = false;
    const qint64 xref = data.mid(startxref + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || xref <= 0 || xref >= size || data.mid(xref, 4) != "xref")
        return false;
    // "xref\n<first> <count>\n" then <count> entries of 20 bytes: "oooooooooo ggggg n \n".
    qsizetype at = data.indexOf('\n', xref) + 1;
    const qsizetype headerEnd = data.indexOf('\n', at);
    if (at <= 0 || headerEnd < 0)
        return false;
    const QList<QByteArray> header = data.mid(at, headerEnd - at).trimmed().split(' ');
    const int first = header.value(0).toInt(&ok);
    if (!ok)
        return false;
    const int count = header.value(1).toInt(&ok);
    if (!ok || headerEnd + 1 + qint64(count) * 20 > size)
        return false;
    at = headerEnd + 1;
    for (int i = 0; i < count; ++i, at += 20) {
        const QByteArray entry = data.mid(at, 20);
        if (entry.size() < 18 || entry.at(17) != 'n')
            continue;
        const qint64 offset = entry.left(10).toLongLong(&ok);
        const QByteArray object = QByteArray::number(first + i) + " 0 obj";
        if (!ok || offset >= size || data.mid(offset, object.size()) != object)
            return false;
    }
    return true;
}

// What most likely cut a PDF short: a full disk, or else a failing one.
int incompleteCause(const QString& fileName)
{
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(fileName).constData(), &fs) == 0
        && quint64(fs.f_bavail) * fs.f_frsize < 1024 * 1024)
        return ENOSPC;
    return EIO;
}

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

QtPrinterDevice::~QtPrinterDevice() = default;

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
    device->m_pdfFileName = fileName;
    device->m_printer.setOutputFileName(fileName);
    device->m_printer.setFullPage(true);
    device->m_printer.setPageSize(QPageSize(QPageSize::A4));
    return device;
}

QString QtPrinterDevice::name() const
{
    return m_pdf ? m_pdfFileName : m_printer.printerName();
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
    if (m_pdf) {
        // The target keeps what it holds until the whole file is written.
        m_output = std::make_unique<OutputFile>(m_pdfFileName);
        m_printer.setOutputFileName(m_output->temporaryPath());
    } else {
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
    if (m_output) {
        const std::unique_ptr<OutputFile> output = std::move(m_output);
        m_printer.setOutputFileName(m_pdfFileName);
        if (!ended || m_printer.printerState() == QPrinter::Error || !pdfComplete(output->temporaryPath()))
            throw Error(OutputFile::writeFailure(output->target(), incompleteCause(output->temporaryPath())));
        PdfTextRepair::repairFile(output->temporaryPath(), PdfTextRepair::Update::Append);
        output->commit();
        return;
    }
    if (!ended || (m_spool ? *m_spool : m_printer).printerState() == QPrinter::Error)
        throw Error(QStringLiteral("The print job could not be sent to %1").arg(name()));
    if (m_spool)
        submitSpool();
    else
        PdfTextRepair::repairFile(m_printer.outputFileName());
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
    // What was drawn is dropped; the target keeps what it held.
    m_output.reset();
    m_printer.setOutputFileName(m_pdfFileName);
}

}
