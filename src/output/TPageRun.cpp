#include "output/TPageRun.h"

#include "output/PrintingSystem.h"
#include "output/ReportPage.h"

#include <QCoreApplication>

namespace corvane {

namespace {

// The preview records at the resolution of its recordings (the screen's, 96 dpi).
DeviceScale screenScale()
{
    QPicture picture;
    return DeviceScale{double(picture.logicalDpiX()), double(picture.logicalDpiY()), 0, 0};
}

}

TPageRun::TPageRun(PrintingSystem& system, QObject* parent)
    : QObject(parent), m_system(system)
{
    selectPrinter(-1);
}

TPageRun::~TPageRun()
{
    if (m_jobOpen && m_printer) {
        try {
            m_printer->abortJob();
        } catch (...) {
        }
    }
}

QString TPageRun::printerName() const
{
    return m_printer ? m_printer->name() : QString();
}

void TPageRun::selectPrinter(int index)
{
    const int defaultIndex = m_system.defaultPrinterIndex();
    if (defaultIndex < 0) {
        m_printer.reset();
        m_settings = OutputSettings{};
        return;
    }
    const int printer = index < 0 ? defaultIndex : index;
    // The run binds the default printer when it is made and again when the report page's
    // settings name it: the device opened a moment ago serves (opening a printer asks the print
    // service, and a PDF file makes its temporary file).
    if (m_printer && m_boundPrinter == printer) {
        bindPrinter(std::move(m_printer), index);
        m_boundPrinter = printer;
        return;
    }
    bindPrinter(m_system.openPrinter(printer), index);
    m_boundPrinter = printer;
}

void TPageRun::bindPrinter(std::unique_ptr<PrinterDevice> printer, int index)
{
    m_printer = std::move(printer);
    m_boundPrinter = -1;
    const PrinterCapabilities caps = m_printer->capabilities();
    m_settings.printerIndex = index;
    m_settings.printer = caps;
    m_settings.copies = caps.reportsCopies ? caps.copies : 1;
    m_settings.paperSource = caps.paperSource;
    m_settings.duplex = caps.duplexCode != 1;
    m_settings.extendedDuplex = caps.duplexCode;
    m_settings.paperKind = caps.currentPaperKind;
    m_settings.paperWidth = caps.physicalWidth;
    m_settings.paperLength = caps.physicalLength;
    m_settings.printQuality = caps.printQuality;
    m_settings.collate = caps.collate;
    m_settings.colour = caps.colour;
}

void TPageRun::applySettings(const ReportPage& page)
{
    const PrinterSettings& chosen = page.PrinterSettings;
    if (m_system.hasPrinter() || !chosen.OutputFileName.isEmpty()) {
        if (!chosen.OutputFileName.isEmpty())
            bindPrinter(m_system.openPdfFile(chosen.OutputFileName), chosen.PrinterIndex);
        else
            selectPrinter(chosen.PrinterIndex);
        m_settings.outputFileName = chosen.OutputFileName;
    }
    // Paper selection: the template's own size only where the printer takes a user-defined
    // size; otherwise the printer's paper (A4 without a printer) and its page breaks.
    if (page.Page.PaperSize == PaperKind::UserDefined && m_printer
        && m_settings.printer.acceptsUserDefinedPaper()) {
        m_settings.paperKind = PaperKind::UserDefined;
        m_settings.paperWidth = roundHalfEven(page.Page.Width);
        m_settings.paperLength = roundHalfEven(page.Page.Length);
    }
    m_settings.orientation = page.Page.Orientation;
    m_settings.copies = chosen.Copies;
    m_settings.firstPage = chosen.FirstPage;
    m_settings.lastPage = chosen.LastPage;
    m_settings.paperSource = chosen.OutputBin;
    m_settings.duplex = chosen.Duplex;
    m_settings.extendedDuplex = 0;
    m_settings.printQuality = chosen.PrintQuality;
    m_settings.collate = chosen.Collate;
    m_settings.colour = chosen.ColorOption;
}

double TPageRun::pageWidth() const
{
    return m_settings.orientation == PageOrientation::Landscape ? m_settings.paperLength
                                                                : m_settings.paperWidth;
}

double TPageRun::pageHeight() const
{
    return m_settings.orientation == PageOrientation::Landscape ? m_settings.paperWidth
                                                                : m_settings.paperLength;
}

double TPageRun::breakLength() const
{
    if (m_settings.paperKind == PaperKind::UserDefined)
        return m_settings.paperLength;
    return pageHeight();
}

std::unique_ptr<QPicture> TPageRun::GetPage(int n) const
{
    if (m_status == Status::Idle || !m_store || n < 1 || n > m_pagesFinished)
        return nullptr;
    return m_store->page(n);
}

void TPageRun::begin()
{
    m_status = Status::Running;
    m_cancelled = false;
    m_pageCount = 0;
    m_pagesFinished = 0;
    m_progress = 0;
    m_progressReported = false;
    m_jobOpen = false;
    m_cutTexts.clear();
    if (m_destination == Destination::Preview) {
        m_store = std::make_unique<TPageStore>();
        m_recording = std::make_unique<PageRecording>(&m_store->fonts());
        m_scale = screenScale();
        return;
    }
    m_scale = screenScale();
    if (!m_printer)
        return;
    m_printer->applySettings(m_settings);
    const PrinterCapabilities caps = m_printer->capabilities();
    m_settings.printer = caps;
    m_scale = DeviceScale{double(caps.dpiX), double(caps.dpiY), caps.unprintableLeft, caps.unprintableTop};
}

void TPageRun::startRecording(PageRecording& recording)
{
    recording.begin(QRect(0, 0, m_scale.lengthX(pageWidth()), m_scale.lengthY(pageHeight())));
    m_canvas = &recording;
}

PageCanvas* TPageRun::newPage()
{
    ++m_pageCount;
    if (pageOpen()) {
        closePage();
        notifyPageAvailable(m_pagesFinished);
    }
    const bool toSheet = m_destination == Destination::Printer && m_printer
                         && (m_settings.firstPage <= 0 || m_pageCount >= m_settings.firstPage)
                         && (m_settings.lastPage <= 0 || m_pageCount <= m_settings.lastPage);
    if (!toSheet) {
        if (m_destination == Destination::Preview) {
            startRecording(*m_recording);
        } else {
            if (!m_skipped)
                m_skipped = std::make_unique<PageRecording>(&m_skippedFonts);
            startRecording(*m_skipped);
        }
        return m_canvas;
    }
    if (!m_jobOpen) {
        m_boundPrinter = -1; // a device that has printed is not taken again
        // The job's painter, on the device it was begun on, for all of the job's sheets.
        m_sheet = std::make_unique<PainterCanvas>(*m_printer->beginJob(m_title));
        m_jobOpen = true;
    } else if (QPainter* painter = m_printer->newSheet(); &m_sheet->painter() != painter) {
        m_sheet = std::make_unique<PainterCanvas>(*painter);
    }
    m_canvas = m_sheet.get();
    // The resolution is read again at every sheet.
    const PrinterCapabilities caps = m_printer->capabilities();
    m_scale.dpiX = caps.dpiX;
    m_scale.dpiY = caps.dpiY;
    return m_canvas;
}

void TPageRun::closePage()
{
    if (m_destination == Destination::Preview && m_canvas == m_recording.get())
        m_store->append(m_recording->bytes());
    m_canvas = nullptr;
    ++m_pagesFinished;
}

void TPageRun::reportProgress(int percent)
{
    // A batch of thousands of rows repeats each percentage for many rows: told once.
    if (percent == m_progress && m_progressReported)
        return;
    m_progress = percent;
    m_progressReported = true;
    QMetaObject::invokeMethod(
        this, [this, percent] { Q_EMIT progressChanged(percent); }, Qt::QueuedConnection);
}

void TPageRun::notifyPageAvailable(int pages)
{
    QMetaObject::invokeMethod(
        this, [this, pages] { Q_EMIT pageAvailable(pages); }, Qt::QueuedConnection);
}

void TPageRun::finish(bool reportPageCancelled)
{
    struct Finished {
        TPageRun* run;
        ~Finished() { run->m_status = Status::Finished; }
    } finished{this};
    if (pageOpen())
        closePage();
    if (m_jobOpen) {
        m_jobOpen = false;
        if (reportPageCancelled)
            m_printer->abortJob();
        else
            m_printer->endJob();
    }
    if (reportPageCancelled)
        return;
    m_status = Status::Finished;
    notifyPageAvailable(m_pageCount);
    QCoreApplication::processEvents();
}

}
