#pragma once
#include "output/TPageRun.h"

#include <QPointer>
#include <QScrollArea>

namespace corvane {

class PageImage;

// The preview's page view (QRPreview): one page of a run in a scroll box, zoomed.
class PreviewPageView : public QScrollArea {
    Q_OBJECT
public:
    enum class ZoomMode { FitPage, FitWidth, Other };
    static constexpr int minimumZoom = 2;
    static constexpr int maximumZoom = 2000;

    explicit PreviewPageView(QWidget* parent = nullptr);

    // Attaches the view to a run: its notifications now come here.
    void setRun(TPageRun* run);
    TPageRun* run() const { return m_run; }

    int pageNumber() const { return m_pageNumber; }
    int zoom() const { return m_zoom; }
    ZoomMode zoomMode() const { return m_zoomMode; }
    PageImage* image() const { return m_image; }

    // Page size used for zooming: the run's paper (portrait or landscape), tenths of a millimetre.
    void setPageSize(double widthTenths, double heightTenths);

    void setZoom(int zoom);  // ignored outside 2..2000
    void fitPage();
    void fitWidth();
    void zoom100();
    // Shows page n; returns false when n is ignored (out of range, or already shown).
    bool showPage(int n);

Q_SIGNALS:
    void pageAvailable(int pages);
    void progress(int percent);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void onPageAvailable(int pages);
    void layoutImage();
    void applyFitPage();
    void applyFitWidth();
    int pagePixelsWide() const;
    int pagePixelsHigh() const;

    QPointer<TPageRun> m_run;
    QWidget* m_canvas;
    PageImage* m_image;
    int m_pageNumber = 1;
    int m_zoom = 70;
    ZoomMode m_zoomMode = ZoomMode::Other;
    double m_pageWidth = 2100;
    double m_pageHeight = 2970;
};

}
