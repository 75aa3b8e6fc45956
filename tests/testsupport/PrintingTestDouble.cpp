#include "testsupport/PrintingTestDouble.h"

#include "core/Error.h"
#include "core/Fonts.h"

#include <QPageSize>
#include <QPainterPath>
#include <QTextItem>

namespace corvane::test {

QString RecordedSheet::allText() const
{
    QStringList parts;
    for (const DrawnText& t : texts)
        parts << t.text;
    return parts.join(QLatin1Char('|'));
}

const DrawnText* RecordedSheet::find(const QString& text) const
{
    for (const DrawnText& t : texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

namespace {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(RecordingDevice* device) : QPaintEngine(AllFeatures), m_device(device) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_device->sheet.fills.append(painter()->transform().mapRect(rects[i]));
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_device->sheet.fills.append(painter()->transform().mapRect(QRectF(rects[i])));
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        m_device->sheet.texts.append({item.text(), painter()->transform().map(p), item.font()});
    }
    Type type() const override { return User; }

private:
    RecordingDevice* m_device;
};

class FakePrinter : public PrinterDevice {
public:
    FakePrinter(PrintingTestDouble& system, PrintingTestDouble::Printer printer)
        : m_system(system), m_printer(std::move(printer)) {}
    ~FakePrinter() override
    {
        if (m_painter.isActive())
            m_painter.end();
    }

    QString name() const override { return m_printer.name; }
    PrinterCapabilities capabilities() const override { return m_printer.capabilities; }
    void applySettings(const PrinterJobSettings& settings) override
    {
        m_settings = settings;
        // Like a real driver: the chosen paper becomes the printer's paper.
        m_printer.capabilities.currentPaperKind = settings.paperKind;
        m_printer.capabilities.physicalWidth = settings.paperWidth;
        m_printer.capabilities.physicalLength = settings.paperLength;
        m_printer.capabilities.copies = settings.copies;
    }
    QPainter* beginJob(const QString& documentName) override
    {
        if (!m_system.failJobWith.isEmpty())
            throw Error(m_system.failJobWith);
        RecordedJob job;
        job.printer = m_printer.name;
        job.documentName = documentName;
        job.settings = m_settings;
        m_system.jobs.append(job);
        m_jobIndex = m_system.jobs.size() - 1;
        startSheet();
        return &m_painter;
    }
    QPainter* newSheet() override
    {
        endSheet();
        startSheet();
        return &m_painter;
    }
    void endJob() override
    {
        endSheet();
        m_system.jobs[m_jobIndex].ended = true;
    }
    void abortJob() override
    {
        if (m_painter.isActive())
            m_painter.end();
        m_device.reset();
        m_system.jobs[m_jobIndex].aborted = true;
    }

private:
    void startSheet()
    {
        const PrinterCapabilities& caps = m_printer.capabilities;
        const QSize size(int(m_settings.paperWidth * caps.dpiX / 254.0),
                         int(m_settings.paperLength * caps.dpiY / 254.0));
        m_device = std::make_unique<RecordingDevice>(size, caps.dpiX, caps.dpiY);
        m_painter.begin(m_device.get());
    }
    void endSheet()
    {
        m_painter.end();
        m_system.jobs[m_jobIndex].sheets.append(m_device->sheet);
        m_device.reset();
    }

    PrintingTestDouble& m_system;
    PrintingTestDouble::Printer m_printer;
    PrinterJobSettings m_settings;
    std::unique_ptr<RecordingDevice> m_device;
    QPainter m_painter;
    int m_jobIndex = -1;
};

}

RecordedSheet replay(const QPicture& picture)
{
    RecordingDevice device(QSize(2000, 2000), 96, 96);
    QPainter painter(&device);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return device.sheet;
}

RecordingDevice::RecordingDevice(QSize size, int dpiX, int dpiY)
    : m_size(size), m_dpiX(dpiX), m_dpiY(dpiY), m_engine(std::make_unique<RecordingEngine>(this))
{
}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const
{
    return m_engine.get();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return m_size.width() * 254 / m_dpiX / 10;
    case PdmHeightMM: return m_size.height() * 254 / m_dpiY / 10;
    case PdmDpiX:
    case PdmPhysicalDpiX: return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY: return m_dpiY;
    case PdmDepth: return 32;
    case PdmNumColors: return INT_MAX;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 0;
    }
}

PrintingTestDouble::Printer PrintingTestDouble::customSizePrinter(const QString& name, int dpi,
                                                                  double marginLeft, double marginTop)
{
    Printer printer{name, {}};
    printer.capabilities.dpiX = dpi;
    printer.capabilities.dpiY = dpi;
    printer.capabilities.unprintableLeft = marginLeft;
    printer.capabilities.unprintableTop = marginTop;
    printer.capabilities.supportedPaperKinds = {PaperKind::Letter, PaperKind::A4, PaperKind::UserDefined};
    return printer;
}

PrintingTestDouble::Printer PrintingTestDouble::a4OnlyPrinter(const QString& name, int dpi)
{
    Printer printer = customSizePrinter(name, dpi);
    printer.capabilities.supportedPaperKinds = {PaperKind::Letter, PaperKind::A4};
    return printer;
}

PrintingTestDouble::PrintingTestDouble() = default;
PrintingTestDouble::~PrintingTestDouble() = default;

InstalledPrintingDouble::InstalledPrintingDouble()
{
    installFontSubstitutions();
    PrintingSystem::install(this);
}

InstalledPrintingDouble::~InstalledPrintingDouble()
{
    PrintingSystem::install(nullptr);
}

QStringList PrintingTestDouble::printerNames() const
{
    QStringList names;
    for (const Printer& p : printers)
        names << p.name;
    return names;
}

int PrintingTestDouble::defaultPrinterIndex() const
{
    return printers.isEmpty() ? -1 : defaultIndex;
}

std::unique_ptr<PrinterDevice> PrintingTestDouble::openPrinter(int index)
{
    ++printersOpened;
    return std::make_unique<FakePrinter>(*this, printers.at(index));
}

std::unique_ptr<PrinterDevice> PrintingTestDouble::openPdfFile(const QString& fileName)
{
    ++printersOpened;
    return std::make_unique<FakePrinter>(*this, customSizePrinter(fileName, 1200));
}

bool PrintingTestDouble::runSetupDialog(QWidget*, PrinterSetupRequest& request)
{
    setupRequests.append(request);
    return answerSetup ? answerSetup(request) : false;
}

}
