#include "testsupport/PrintWindowTestSupport.h"

#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "outputwindows/TQRStandardPreview.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace corvane::test {

bool whileOpen(PrintWindow& window, const std::function<void()>& open,
               const std::function<void(PrintWindow&)>& inside)
{
    bool seen = false;
    QTimer::singleShot(0, &window, [&] {
        seen = window.isVisible();
        inside(window);
        if (window.isVisible())
            window.SpeedButton4Click();
    });
    open();
    return seen;
}

QList<std::shared_ptr<QPicture>> previewPages(PrintWindow& window, bool* closedByItsButton)
{
    if (closedByItsButton)
        *closedByItsButton = false;
    QList<std::shared_ptr<QPicture>> pages;
    TemplateReportPage& page = window.reportPage(window.shownTemplate());
    QPointer<TQRStandardPreview> shown;
    const QMetaObject::Connection opened = QObject::connect(
        &page, &ReportPage::previewOpened, &window, [&shown](TQRStandardPreview* preview) { shown = preview; });
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&page, &pages, &shown, poll, closedByItsButton] {
        TPageRun* run = page.previewRun();
        TQRStandardPreview* preview = shown.data();
        if (!preview || !run || run->status() != TPageRun::Status::Finished)
            return;
        poll->stop();
        for (int n = 1; n <= run->pagesFinished(); ++n)
            pages << std::shared_ptr<QPicture>(run->GetPage(n).release());
        // As the user does, with the preview's own close button; a window that the modal
        // print window blocks would never receive the click.
        bool reachable = true;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            reachable = false;
            for (QWidget* w = preview; w; w = w->parentWidget())
                reachable = reachable || w == modal;
        }
        auto* close = preview->findChild<QToolButton*>(QStringLiteral("SpeedButton10"));
        if (reachable && close && close->isVisible())
            QTest::mouseClick(close, Qt::LeftButton);
        if (closedByItsButton)
            *closedByItsButton = reachable && !preview->isVisible();
        if (preview->isVisible())
            preview->close();
    });
    poll->start(5);
    window.findChild<QToolButton*>(QStringLiteral("SpeedButton3"))->click();
    poll->stop();
    delete poll;
    QObject::disconnect(opened);
    return pages;
}

namespace {

class CountingEngine : public QPaintEngine {
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++pictures; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { ++pictures; }
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override { ++pictures; }
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    Type type() const override { return QPaintEngine::User; }
    int pictures = 0;
};

class CountingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable CountingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 1000;
        case PdmHeight: return 1000;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return 1 * QPaintDevice::devicePixelRatioFScale();
        default: return 0;
        }
    }
};

}

int picturesDrawn(const QPicture& page)
{
    CountingDevice device;
    QPainter painter(&device);
    painter.drawPicture(0, 0, page);
    painter.end();
    return device.engine.pictures;
}

}
