#include "outputwindows/TQRStandardPreview.h"

#include "core/Dialogs.h"
#include "output/CutTextReport.h"
#include "outputwindows/PageImage.h"
#include "outputwindows/PreviewIcons.h"
#include "outputwindows/PreviewPageView.h"
#include "output/ReportPage.h"
#include "output/TPageRun.h"
#include "outputwindows/ThumbGrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

struct ToolButtonEntry {
    const char16_t* caption;
    PreviewIcon icon;
};

// The ten buttons, left to right (SpeedButton1 ... SpeedButton10).
constexpr ToolButtonEntry toolButtonEntries[] = {
    {u"合适大小", PreviewIcon::FitPage},      {u"合适宽度", PreviewIcon::FitWidth},
    {u"缩放100%", PreviewIcon::Zoom100},      {u"首 页", PreviewIcon::FirstPage},
    {u"上一页", PreviewIcon::PreviousPage},   {u"下一页", PreviewIcon::NextPage},
    {u"末 页", PreviewIcon::LastPage},        {u"设 置", PreviewIcon::Setup},
    {u"打 印", PreviewIcon::Print},           {u"关 闭", PreviewIcon::Close},
};
constexpr int buttonSize = 73;

}

TQRStandardPreview::TQRStandardPreview(ReportPage* page, TPageRun* run, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_page(page), m_run(run)
{
    setObjectName(QStringLiteral("QRStandardPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(page->previewOptions.PreviewWidth, page->previewOptions.PreviewHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setFixedHeight(81);
    buildToolBar(toolBar);
    layout->addWidget(toolBar);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter2"));
    m_splitter->setHandleWidth(4);
    m_splitter->setChildrenCollapsible(false);
    m_tabs = new QTabWidget(m_splitter);
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    m_tabThumbs = new QWidget;
    m_tabThumbs->setObjectName(QStringLiteral("TabThumbs"));
    auto* thumbLayout = new QVBoxLayout(m_tabThumbs);
    thumbLayout->setContentsMargins(0, 0, 0, 0);
    m_thumbs = new ThumbGrid(m_tabThumbs);
    thumbLayout->addWidget(m_thumbs);
    m_tabs->addTab(m_tabThumbs, QStringLiteral("缩略图"));
    m_view = new PreviewPageView(m_splitter);
    m_splitter->addWidget(m_tabs);
    m_splitter->addWidget(m_view);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({193, 676});
    layout->addWidget(m_splitter, 1);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Splitter1"));
    separator->setFixedHeight(3);
    layout->addWidget(separator);

    auto* statusBar = new QWidget(this);
    statusBar->setObjectName(QStringLiteral("StatusBar"));
    statusBar->setFixedHeight(19);
    auto* statusLayout = new QHBoxLayout(statusBar);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(2);
    const int panelWidths[] = {80, 100, 50};
    const char16_t* panelTexts[] = {u"0%", u"页码", u" "};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(QString::fromUtf16(panelTexts[i]), statusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setFixedWidth(panelWidths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusLayout->addWidget(panel);
        m_panels.append(panel);
    }
    // Texts that did not fit their boxes: shown only when there are any; a click lists them.
    m_cutText = new QToolButton(statusBar);
    m_cutText->setObjectName(QStringLiteral("StatusCutText"));
    m_cutText->setAutoRaise(true);
    m_cutText->setCursor(Qt::PointingHandCursor);
    m_cutText->setStyleSheet(QStringLiteral("color: #a00000;")); // a warning, not a page number
    m_cutText->setFixedHeight(19);
    m_cutText->setToolTip(QStringLiteral("单击查看未能完整打印的文字"));
    m_cutText->hide();
    statusLayout->addWidget(m_cutText);
    connect(m_cutText, &QToolButton::clicked, this, &TQRStandardPreview::showCutTexts);
    statusLayout->addStretch(1);
    layout->addWidget(statusBar);

    // Attach to the run: the page view becomes its client.
    const PreviewOptions& options = page->previewOptions;
    m_view->setRun(run);
    m_thumbs->setRun(run);
    if (run) {
        run->setTitle(page->ReportTitle);
        run->setPreviewOpen(true);
        m_view->setPageSize(run->pageWidth(), run->pageHeight());
        m_thumbs->setPaper(run->settings().paperWidth, run->settings().paperLength,
                           page->Page.Orientation == PageOrientation::Landscape);
        if (!run->title().isEmpty())
            setWindowTitle(run->title());
    }
    connect(m_view, &PreviewPageView::pageAvailable, this, &TQRStandardPreview::onPageAvailable);
    connect(m_view, &PreviewPageView::progress, this, &TQRStandardPreview::onProgress);
    connect(m_thumbs, &QTableWidget::itemSelectionChanged, this, &TQRStandardPreview::onThumbSelected);

    const bool showArea = options.PrevShowThumbs || options.PrevShowSearch;
    m_tabs->setVisible(showArea);
    m_tabs->setTabVisible(0, options.PrevShowThumbs);
    if (showArea && run && run->pageCount() > 0)
        m_thumbs->setPageRows(run->pageCount());

    coverWorkArea();

    qApp->installEventFilter(this);
    switch (options.PrevInitialZoom) {
    case PreviewZoom::FitPage: m_view->fitPage(); break;
    case PreviewZoom::FitWidth: m_view->fitWidth(); break;
    case PreviewZoom::Zoom100: m_view->zoom100(); break;
    }
    writeStatus();
}

TQRStandardPreview::~TQRStandardPreview()
{
    qApp->removeEventFilter(this);
}

void TQRStandardPreview::coverWorkArea()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame, not only the client area, fills the work area (the screen less the task bar).
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    const QRect client = area - margins;
    setFixedSize(client.size()); // a fixed frame: the user does not resize it
    setGeometry(client);
}

void TQRStandardPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    coverWorkArea();
}

void TQRStandardPreview::buildToolBar(QWidget* toolBar)
{
    QFont captionFont(QStringLiteral("宋体"));
    captionFont.setPixelSize(15);
    int x = 0;
    int number = 1;
    for (const ToolButtonEntry& entry : toolButtonEntries) {
        auto* button = new QToolButton(toolBar);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(number++));
        button->setText(QString::fromUtf16(entry.caption));
        button->setIcon(previewIcon(entry.icon));
        button->setIconSize(QSize(48, 48));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFont(captionFont);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(x, 2, buttonSize, buttonSize);
        x += buttonSize;
        m_buttons.append(button);
    }
    connect(m_buttons[0], &QToolButton::clicked, this, [this] { m_view->fitPage(); });
    connect(m_buttons[1], &QToolButton::clicked, this, [this] { m_view->fitWidth(); });
    connect(m_buttons[2], &QToolButton::clicked, this, [this] { m_view->zoom100(); });
    connect(m_buttons[3], &QToolButton::clicked, this, [this] { showPage(1); });
    connect(m_buttons[4], &QToolButton::clicked, this, [this] { showPage(m_view->pageNumber() - 1); });
    connect(m_buttons[5], &QToolButton::clicked, this, [this] { showPage(m_view->pageNumber() + 1); });
    connect(m_buttons[6], &QToolButton::clicked, this, [this] { showPage(m_run ? m_run->pageCount() : 0); });
    connect(m_buttons[7], &QToolButton::clicked, this, [this] {
        for (int i = 0; i < 3; ++i)
            m_buttons[i]->setEnabled(false);
        m_page->PrinterSetup(this);
    });
    connect(m_buttons[8], &QToolButton::clicked, this, [this] { m_page->Print(); });
    connect(m_buttons[9], &QToolButton::clicked, this, [this] { close(); });
}

void TQRStandardPreview::showPage(int n)
{
    m_view->showPage(n);
    writeStatus();
    const int pages = m_run ? m_run->pageCount() : 0;
    if (n >= 1 && n <= pages) {
        m_suppressThumbSelection = true;
        if (m_thumbs->rowCount() < pages)
            m_thumbs->setPageRows(pages);
        m_thumbs->selectRow(n - 1);
        m_suppressThumbSelection = false;
    }
}

void TQRStandardPreview::writeStatus()
{
    const int pages = m_run ? m_run->pageCount() : 0;
    m_panels[1]->setText(QStringLiteral("第 %1/%2 页").arg(m_view->pageNumber()).arg(pages));
    m_panels[2]->setText(m_page->ReportTitle);
    const qsizetype cuts = m_run ? m_run->cutTexts().size() : 0;
    if (cuts != m_cutTextsShown) {
        m_cutTextsShown = cuts;
        m_cutText->setText(cutTextSummary(m_run->cutTexts()));
        m_cutText->setVisible(cuts > 0);
    }
}

void TQRStandardPreview::showCutTexts()
{
    if (!m_run || m_run->cutTexts().isEmpty())
        return;
    // A long batch can cut hundreds of boxes: the box shows the first ones and how many more.
    constexpr int shown = 30;
    const QStringList lines = cutTextLines(m_run->cutTexts());
    QString text = cutTextSummary(m_run->cutTexts()) + QStringLiteral("：\n\n") + lines.mid(0, shown).join(QLatin1Char('\n'));
    if (lines.size() > shown)
        text += QStringLiteral("\n…… 另有 %1 处").arg(lines.size() - shown);
    Dialogs::hint(this, text, MessageIcon::Information);
}

void TQRStandardPreview::onPageAvailable(int)
{
    writeStatus();
    if (m_run)
        m_thumbs->setPageRows(m_run->pageCount());
}

void TQRStandardPreview::onProgress(int percent)
{
    if (percent >= m_lastProgress + 5) {
        m_panels[0]->setText(QString::number(percent) + QLatin1Char('%'));
        m_lastProgress = percent;
    }
    if (percent == 0 || percent == 100)
        m_panels[0]->clear();
}

void TQRStandardPreview::onThumbSelected()
{
    if (m_suppressThumbSelection)
        return;
    const QList<QTableWidgetSelectionRange> ranges = m_thumbs->selectedRanges();
    if (ranges.isEmpty())
        return;
    m_view->showPage(ranges.first().topRow() + 1);
    writeStatus();
}

bool TQRStandardPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees the keys before its controls; the key then goes on as usual.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() != this)
        return false;
    // A key the receiver ignores travels on to its parents: act on its first delivery only.
    if (event == m_lastKey && receiver != m_lastKeyReceiver && m_lastKeyReceiver
        && receiver->isAncestorOf(m_lastKeyReceiver))
        return false;
    m_lastKey = event;
    m_lastKeyReceiver = receiver;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool ctrlAlone = modifiers == Qt::ControlModifier;
    const int last = m_run ? m_run->pageCount() : 0;
    switch (key->key()) {
    case Qt::Key_Home: showPage(1); break;
    case Qt::Key_End: showPage(last); break;
    case Qt::Key_PageUp: showPage(ctrlAlone ? 1 : m_view->pageNumber() - 1); break;
    case Qt::Key_PageDown: showPage(ctrlAlone ? last : m_view->pageNumber() + 1); break;
    default: break;
    }
    return false;
}

void TQRStandardPreview::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        qApp->removeEventFilter(this);
        m_view->setRun(nullptr);
        m_thumbs->setRun(nullptr);
        if (m_run)
            m_run->setPreviewOpen(false);
        m_run = nullptr;
        m_page->endPreview();
    }
    event->accept();
}

}
