#include "outputwindows/PreviewPageView.h"

#include "output/DeviceScale.h"
#include "outputwindows/PageImage.h"
#include "output/TPageRun.h"

#include <QCoreApplication>
#include <QScrollBar>

namespace corvane {

PreviewPageView::PreviewPageView(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("QRPreview"));
    setBackgroundRole(QPalette::Button);
    setWidgetResizable(false);
    m_canvas = new QWidget;
    m_canvas->setBackgroundRole(QPalette::Button);
    m_image = new PageImage(m_canvas);
    setWidget(m_canvas);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
}

void PreviewPageView::setRun(TPageRun* run)
{
    if (m_run)
        disconnect(m_run, nullptr, this, nullptr);
    m_run = run;
    if (!run)
        return;
    connect(run, &TPageRun::pageAvailable, this, &PreviewPageView::onPageAvailable);
    connect(run, &TPageRun::progressChanged, this, &PreviewPageView::progress);
}

void PreviewPageView::setPageSize(double widthTenths, double heightTenths)
{
    m_pageWidth = widthTenths;
    m_pageHeight = heightTenths;
}

int PreviewPageView::pagePixelsWide() const
{
    return roundHalfEven(m_pageWidth * logicalDpiX() / 254.0);
}

int PreviewPageView::pagePixelsHigh() const
{
    return roundHalfEven(m_pageHeight * logicalDpiY() / 254.0);
}

void PreviewPageView::setZoom(int zoom)
{
    if (zoom < minimumZoom || zoom > maximumZoom)
        return;
    m_zoom = zoom;
    m_zoomMode = ZoomMode::Other;
    layoutImage();
}

void PreviewPageView::fitPage()
{
    QCoreApplication::processEvents();
    applyFitPage();
}

void PreviewPageView::applyFitPage()
{
    const QSize view = maximumViewportSize();
    const int z = qMin(roundHalfEven(double(view.width()) / pagePixelsWide() * 95),
                       roundHalfEven(double(view.height()) / pagePixelsHigh() * 95));
    setZoom(z);
    layoutImage();
    m_zoomMode = ZoomMode::FitPage;
}

void PreviewPageView::fitWidth()
{
    QCoreApplication::processEvents();
    applyFitWidth();
}

void PreviewPageView::applyFitWidth()
{
    const QSize view = maximumViewportSize();
    setZoom(roundHalfEven(double(view.width()) / pagePixelsWide() * 90));
    layoutImage();
    m_zoomMode = ZoomMode::FitWidth;
}

void PreviewPageView::zoom100()
{
    QCoreApplication::processEvents();
    setZoom(100);
    layoutImage();
}

void PreviewPageView::layoutImage()
{
    const double factorX = logicalDpiX() / 254.0;
    const double factorY = logicalDpiY() / 254.0;
    const int width = roundHalfEven(m_pageWidth / 100.0 * m_zoom * factorX) + 4;
    const int height = roundHalfEven(m_pageHeight / 100.0 * m_zoom * factorY) + 4;
    const QSize view = maximumViewportSize();
    const int x = width < view.width() ? (view.width() - width) / 2 : 0;
    const int y = height < view.height() ? (view.height() - height) / 2 : 0;
    m_canvas->resize(qMax(width, view.width()), qMax(height, view.height()));
    m_image->setGeometry(x, y, width, height);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

bool PreviewPageView::showPage(int n)
{
    const int pages = m_run ? m_run->pageCount() : 0;
    if (n < 1 || n > pages || (n == m_pageNumber && m_image->hasPage()))
        return false;
    m_image->setPage(m_run->GetPage(n));
    m_pageNumber = n;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    return true;
}

void PreviewPageView::onPageAvailable(int pages)
{
    if (m_run && pages >= m_pageNumber && !m_image->hasPage())
        m_image->setPage(m_run->GetPage(m_pageNumber));
    Q_EMIT pageAvailable(pages);
}

void PreviewPageView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    switch (m_zoomMode) {
    case ZoomMode::FitPage: applyFitPage(); break;
    case ZoomMode::FitWidth: applyFitWidth(); break;
    case ZoomMode::Other: layoutImage(); break;
    }
}

}
