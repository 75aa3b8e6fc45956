#include "output/ReportPage.h"

#include "core/MemoryPolicy.h"
#include "core/ParagraphWrap.h"
#include "output/BoxTextFormatter.h"
#include "output/FaceLineMetrics.h"
#include "output/PageCanvas.h"
#include "output/PrintingSystem.h"
#include "output/TPageRun.h"

#include <QCoreApplication>
#include <QtMath>

namespace corvane {

namespace {
constexpr double pageFooterSpace = 0; // no footer band exists
}

ReportPage::ReportPage(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

ReportPage::~ReportPage() = default;

PrintingSystem& ReportPage::printingSystem() const
{
    return m_printingSystem ? *m_printingSystem : PrintingSystem::current();
}

void ReportPage::pump()
{
    QCoreApplication::processEvents();
}

bool ReportPage::layout(TPageRun& run)
{
    if (m_busy)
        return false;
    if (Page.Width - Page.LeftMargin - Page.RightMargin < 0)
        Page.LeftMargin = Page.RightMargin = 0;
    if (Page.Length - Page.TopMargin - Page.BottomMargin < 0)
        Page.TopMargin = Page.BottomMargin = 0;
    m_busy = true;
    m_cancelled = false;
    m_activeRun = &run;
    struct Release {
        ReportPage* page;
        ~Release()
        {
            for (BandElement& e : page->band.elements)
                e.printing = false;
            page->m_busy = false;
            page->m_activeRun = nullptr;
        }
    } release{this};
    // Every page of a batch repeats the sender and most values: each is wrapped once a run.
    ParagraphWrapCache wrapCache;
    PrintRunMemory memory;

    run.applySettings(*this);
    run.setTitle(ReportTitle);
    run.begin();
    m_currentY = -1;
    m_currentX = Page.LeftMargin;
    for (BandElement& e : band.elements)
        e.printing = true;

    try {
        layoutRows(run);
        if (!m_cancelled && run.pageOpen())
            m_currentY = Page.Length - Page.BottomMargin - pageFooterSpace;
    } catch (...) {
        run.finish(m_cancelled);
        throw;
    }
    run.finish(m_cancelled);
    return true;
}

void ReportPage::layoutRows(TPageRun& run)
{
    if (!DataSet || !DataSet->isOpen()) {
        if (PrintIfEmpty)
            layoutBand(run);
        return;
    }
    DataSet->first();
    int recordCount = DataSet->recordCount(); // asked once per run
    if (recordCount < 0)
        recordCount = 1;
    if (DataSet->eof()) {
        if (PrintIfEmpty)
            layoutBand(run);
        return;
    }
    pump();
    if (m_cancelled)
        return;
    int row = 0;
    while (!DataSet->eof()) {
        pump();
        if (run.cancelled() || m_cancelled)
            return;
        ++row;
        layoutBand(run);
        DataSet->next();
        if (recordCount > 0)
            run.reportProgress(row * 100 / recordCount);
    }
}

void ReportPage::layoutBand(TPageRun& run)
{
    bool printBand = band.Enabled;
    if (band.Enabled && band.BeforePrint)
        band.BeforePrint(band, printBand);
    if (!printBand)
        return;

    const int need = roundHalfEven(band.Height);
    const int availableSpace =
        m_currentY < 0 ? 0
                       : roundHalfEven(run.breakLength() - Page.BottomMargin - pageFooterSpace - m_currentY);
    // Whole tenths on both sides: a band within a tenth of the page's length (1410.229 on
    // 1410, 1502.833 on 1502.833) still counts as fitting a page of its own.
    const int printableLength = roundHalfEven(Page.Length - Page.TopMargin - Page.BottomMargin);
    // A band that could never fit is laid out where it stands.
    if (m_currentY < 0 || (availableSpace < need && need <= printableLength))
        beginNewPage(run);

    PageCanvas& canvas = *run.canvas();
    const DeviceScale& scale = run.scale();
    if (!band.TransparentBand)
        canvas.fillRect(scale.rect(QRectF(m_currentX, m_currentY, band.Width, band.Height)), band.Color);
    for (const BandElement& element : band.elements)
        if (element.enabled)
            drawElement(run, element, m_currentX, m_currentY);
    m_currentY += need;
}

void ReportPage::beginNewPage(TPageRun& run)
{
    if (run.pageOpen()) {
        m_currentY = Page.Length - Page.BottomMargin - pageFooterSpace;
        m_currentX = Page.LeftMargin;
    }
    run.newPage();
    m_currentY = Page.TopMargin;
}

void ReportPage::drawElement(TPageRun& run, const BandElement& element, double bandX, double bandY)
{
    PageCanvas& canvas = *run.canvas();
    const DeviceScale& scale = run.scale();
    const QRectF tenths = element.rect.translated(bandX, bandY);
    QRect box = scale.rect(tenths);
    canvas.setPen(element.colour);
    if (element.kind == BandElement::Kind::PrintBox) {
        bool complete = true;
        BoxTextFormatter::drawParagraphs(canvas, box, element.lines, element.font, element.alignment, &complete);
        if (!complete)
            run.recordCutText(element.field.isEmpty() ? element.name : element.field,
                              element.value.isEmpty() ? element.lines.join(QLatin1Char('\n')) : element.value);
        return;
    }
    // Banner label: line height from the font's text height on the device, back in tenths;
    // a line is drawn while it ends inside the label (its bottom plus one tenth).
    const double lineHeightTenths =
        scale.tenthsFromDotsY(lineMetrics(element.font, canvas.device()).height());
    const double lineHeight = lineHeightTenths * scale.dpiY / 254.0;
    const double lineLimit = (tenths.bottom() + 1 - scale.marginTop) * scale.dpiY / 254.0;
    if (element.autoSize) {
        const QFont deviceFont(element.font, canvas.device());
        const int width = qCeil(textAdvance(element.caption, deviceFont, canvas.device()));
        box.setWidth(qMax(box.width(), width));
    }
    BoxTextFormatter::drawCaption(canvas, box, element.caption, element.font, lineHeight, lineLimit);
}

void ReportPage::endPreview()
{
    m_previewEnded = true;
    if (m_busy) {
        m_cancelled = true;
        if (m_activeRun)
            m_activeRun->cancel();
        return;
    }
    m_previewRun.reset();
}

}
