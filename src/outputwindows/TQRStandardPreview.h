#pragma once
#include "output/TPageRun.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QLabel;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace corvane {

class PreviewPageView;
class ReportPage;
class ThumbGrid;

// The print preview window: the pages of a preview run while they are laid out and after,
// with zoom, paging, thumbnails, status, printer setup and printing.
class TQRStandardPreview : public QDialog {
    Q_OBJECT
public:
    TQRStandardPreview(ReportPage* page, TPageRun* run, QWidget* parent = nullptr);
    ~TQRStandardPreview() override;

    ReportPage* reportPage() const { return m_page; }
    TPageRun* run() const { return m_run; }

    QToolButton* SpeedButton(int number) const { return m_buttons.value(number - 1); }
    PreviewPageView* QRPreview() const { return m_view; }
    ThumbGrid* ThumbGridWidget() const { return m_thumbs; }
    QTabWidget* Tabs() const { return m_tabs; }
    QLabel* statusPanel(int index) const { return m_panels.value(index); }
    // "N 页共 M 处文字未能完整打印", visible only when some text did not fit its box.
    QToolButton* cutTextStatus() const { return m_cutText; }
    // Lists page, field and whole value of every text that did not fit (a message box).
    void showCutTexts();

    // Shows page n in the page view and selects its thumbnail.
    void showPage(int n);
    void writeStatus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Escape would hide and delete the window without ending its run; only the close
    // button and the close box close it.
    void reject() override {}

private:
    void buildToolBar(QWidget* toolBar);
    void coverWorkArea();
    void onPageAvailable(int pages);
    void onProgress(int percent);
    void onThumbSelected();
    void updateThumbGeometry();

    ReportPage* m_page;
    QPointer<TPageRun> m_run;
    QList<QToolButton*> m_buttons;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_tabThumbs = nullptr;
    ThumbGrid* m_thumbs = nullptr;
    QSplitter* m_splitter = nullptr;
    PreviewPageView* m_view = nullptr;
    QList<QLabel*> m_panels;
    QToolButton* m_cutText = nullptr;
    qsizetype m_cutTextsShown = 0;
    int m_lastProgress = 0;
    bool m_suppressThumbSelection = false;
    bool m_closed = false;
    const QEvent* m_lastKey = nullptr;
    QPointer<QWidget> m_lastKeyReceiver;
};

}
