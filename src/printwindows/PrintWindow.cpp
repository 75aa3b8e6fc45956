#include "printwindows/PrintWindow.h"

#include "addressbook/List.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "outputwindows/PreviewIcons.h"
#include "outputwindows/TQRStandardPreview.h"
#include "output/TemplateReportPage.h"
#include "printwindows/BatchQuery.h"
#include "printwindows/DdUnit.h"
#include "printwindows/EddUnit.h"
#include "printwindows/FontDialog.h"
#include "printwindows/PdUnit.h"
#include "printwindows/PedUnit.h"
#include "printwindows/ViewBox.h"
#include "templates/BannerLabel.h"
#include "templates/FormPicture.h"

#include <QGroupBox>
#include <QImageReader>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

namespace corvane {

namespace {

QFont songTi(int pixelSize)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    return font;
}

// The tool bar, as data. Places are in the parent's coordinates; the preview caption and the
// close button's x come from the window's traits.
enum class ToolKind { BigButton, Group, Label, Edit, SmallButton };
enum class ToolText { Fixed, PreviewCaption };

struct ToolItem {
    const char* name;
    ToolKind kind;
    const char* parent;     // nullptr: Panel1
    int x, y, width, height;
    const char* caption;
    void (PrintWindow::*action)();
};

const ToolItem toolItems[] = {
    {"SpeedButton1", ToolKind::BigButton, nullptr, 8, 2, 73, 73, "设置字体", &PrintWindow::SpeedButton1Click},
    {"SpeedButton3", ToolKind::BigButton, nullptr, 81, 2, 73, 73, nullptr, &PrintWindow::SpeedButton3Click},
    {"SpeedButton4", ToolKind::BigButton, nullptr, -1, 2, 73, 73, "关闭窗口", &PrintWindow::SpeedButton4Click},
    {"GroupBox1", ToolKind::Group, nullptr, 432, 16, 435, 57, "调整打印位置", nullptr},
    {"Label1", ToolKind::Label, "GroupBox1", 22, 28, 0, 0, "上下移动", nullptr},
    {"Edit1", ToolKind::Edit, "GroupBox1", 89, 24, 41, 21, nullptr, nullptr},
    {"SpeedButton5", ToolKind::SmallButton, "GroupBox1", 144, 24, 57, 21, "确定", &PrintWindow::SpeedButton5Click},
    {"Label2", ToolKind::Label, "GroupBox1", 229, 28, 0, 0, "左右移动", nullptr},
    {"Edit2", ToolKind::Edit, "GroupBox1", 296, 24, 41, 21, nullptr, nullptr},
    {"SpeedButton6", ToolKind::SmallButton, "GroupBox1", 352, 24, 57, 21, "确定", &PrintWindow::SpeedButton6Click},
};

// A 48 x 48 picture of a large "A" over a baseline: the type button.
QIcon typeIcon()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(38);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x1f, 0x4e, 0x99));
    painter.drawText(QRect(0, 0, 48, 42), Qt::AlignCenter, QStringLiteral("A"));
    painter.fillRect(QRect(8, 42, 32, 3), QColor(0xc0, 0x30, 0x30));
    return QIcon(pixmap);
}

// The tab strip lies under the tool bar; the keyboard must not switch templates either.
class TemplatePageControl : public QTabWidget {
public:
    using QTabWidget::QTabWidget;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->modifiers() & Qt::ControlModifier) {
            switch (event->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                event->ignore();
                return;
            default:
                break;
            }
        }
        QTabWidget::keyPressEvent(event);
    }
};

// The form picture at the size it is shown. The reader decodes a large scan at a reduced
// scale straight away, which is far quicker than decoding it whole and scaling it down.
QImage screenPicture(const WaybillTemplate& t)
{
    QImageReader reader(t.pictureResource);
    reader.setScaledSize(t.pictureRect.size());
    QImage image = reader.read();
    if (image.isNull())
        image = formPicture(t).scaled(t.pictureRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

// Height of the hidden tab row the tool bar covers.
constexpr int tabRowHeight = 24;

}

PrintWindow::PrintWindow(PrintWindowKind kind, List* senders, List* recipients, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_traits(printWindowTraits(kind)), m_model(kind)
{
    setObjectName(QString::fromLatin1(m_traits.className).mid(1));   // "DdForm"
    setModal(true);
    setFont(initialDialogFont());
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);

    if (m_traits.batch()) {
        m_batch = std::make_unique<BatchQuery>(QString::fromLatin1(m_traits.ownStatement), this);
        recipients = m_batch->ADOQuery1();
    }
    m_model.setRowSources(senders, recipients);

    buildPages();
    buildToolBar();
    m_outerHeight = 612;
    setFixedSize(m_traits.clientWidth, 612);

    connect(&m_model, &PrintWindowModel::layoutChanged, this, &PrintWindow::takeModel);
    for (List* list : {senders, recipients}) {
        if (!list)
            continue;
        connect(list, &List::currentChanged, this, &PrintWindow::refreshRows);
        connect(list, &List::reset, this, &PrintWindow::refreshRows);
        connect(list, &List::rowChanged, this, &PrintWindow::refreshRows);
    }
}

PrintWindow::~PrintWindow()
{
    // The report pages refer to the model's templates.
    for (auto& page : m_reportPages)
        page.reset();
}

void PrintWindow::buildToolBar()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, 881, 79);
    panel->setAutoFillBackground(true);

    for (const ToolItem& item : toolItems) {
        QWidget* parent = item.parent ? panel->findChild<QWidget*>(QLatin1String(item.parent)) : panel;
        const QString caption = item.caption ? QString::fromUtf8(item.caption)
                                             : QString::fromUtf8(m_traits.previewCaption);
        const int x = item.x >= 0 ? item.x : m_traits.closeButtonX;
        QWidget* widget = nullptr;
        switch (item.kind) {
        case ToolKind::BigButton:
        case ToolKind::SmallButton: {
            auto* button = new QToolButton(parent);
            button->setText(caption);
            button->setFocusPolicy(Qt::NoFocus);
            if (item.kind == ToolKind::BigButton) {
                button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
                button->setIconSize(QSize(48, 48));
                button->setAutoRaise(true);
                button->setFont(songTi(14));
            }
            if (item.action) {
                const auto action = item.action;
                connect(button, &QToolButton::clicked, this, [this, action] { (this->*action)(); });
            }
            widget = button;
            break;
        }
        case ToolKind::Group: {
            auto* group = new QGroupBox(caption, parent);
            group->setFont(songTi(15));
            widget = group;
            break;
        }
        case ToolKind::Label: {
            auto* label = new QLabel(caption, parent);
            label->adjustSize();
            widget = label;
            break;
        }
        case ToolKind::Edit: {
            auto* edit = new QLineEdit(parent);
            edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #7a7a7a; padding: 0 1px; background: white; }"));
            widget = edit;
            break;
        }
        }
        widget->setObjectName(QLatin1String(item.name));
        if (item.width > 0)
            widget->setGeometry(x, item.y, item.width, item.height);
        else
            widget->move(x, item.y);
    }

    auto* setType = panel->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    setType->setIcon(typeIcon());
    panel->findChild<QToolButton*>(QStringLiteral("SpeedButton3"))->setIcon(previewIcon(PreviewIcon::FitPage));
    panel->findChild<QToolButton*>(QStringLiteral("SpeedButton4"))->setIcon(previewIcon(PreviewIcon::Close));
    m_edit1 = panel->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    m_edit2 = panel->findChild<QLineEdit*>(QStringLiteral("Edit2"));

    if (m_batch) {
        // Between 关闭窗口 and 调整打印位置: the sender every waybill carries, and how many.
        const int left = m_traits.closeButtonX + 73 + 8;
        m_summary = new QLabel(panel);
        m_summary->setObjectName(QStringLiteral("BatchSummary"));
        m_summary->setGeometry(left, 10, 432 - left - 8, 62);
        m_summary->setWordWrap(true);
        m_summary->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFont font = songTi(14);
        font.setBold(true);
        m_summary->setFont(font);
        m_summary->setStyleSheet(QStringLiteral("QLabel { color: #9c1c1c; }"));
        refreshRows();
    }
}

void PrintWindow::buildPages()
{
    m_pages = new TemplatePageControl(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(0, 55, m_traits.clientWidth, m_traits.pageControlHeight);
    m_pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_pages->setUsesScrollButtons(true);
    m_pages->setStyleSheet(QStringLiteral("QTabBar::tab { height: %1px; padding: 0 4px; margin: 0; }"
                                          "QTabWidget::pane { border: 0; }")
                               .arg(tabRowHeight));
    const Catalogue& catalogue = m_model.catalogue();
    for (int n = 1; n <= Catalogue::templateCount; ++n) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(n));
        const WaybillTemplate& t = catalogue.waybillTemplate(n);
        m_pages->addTab(sheet, t.variant.isEmpty() ? t.company : t.company + t.variant);
        m_sheets[n - 1] = sheet;
    }
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) { ensurePage(index + 1); });
}

void PrintWindow::ensurePage(int templateNumber)
{
    if (templateNumber < 1 || templateNumber > Catalogue::templateCount || m_reportWidgets[templateNumber - 1])
        return;
    const WaybillTemplate& t = m_model.catalogue().waybillTemplate(templateNumber);
    QWidget* sheet = m_sheets[templateNumber - 1];

    // QuickRepN with its band QRBandN: white, as large as the page, at 100 %.
    auto* page = new QWidget(sheet);
    page->setObjectName(QStringLiteral("QuickRep%1").arg(templateNumber));
    page->setGeometry(t.screenOffset, 0, t.band.width(), t.band.height());
    page->setAutoFillBackground(true);
    QPalette white = page->palette();
    white.setColor(QPalette::Window, Qt::white);
    page->setPalette(white);

    auto* picture = new QLabel(page);
    picture->setObjectName(QStringLiteral("Image%1").arg(templateNumber));
    picture->setGeometry(t.pictureRect);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap::fromImage(screenPicture(t)));

    for (const TextSlot& slot : t.textSlots)
        new ViewBox(m_model, slot.number, page);

    auto* banner = new QLabel(bannerText(), page);
    banner->setObjectName(QStringLiteral("QRLabel%1").arg(templateNumber));
    banner->setFont(bannerFont());
    banner->setAttribute(Qt::WA_TranslucentBackground);
    banner->setGeometry(QRect(t.banner, bannerLabelSize()));

    page->show();
    m_reportWidgets[templateNumber - 1] = page;
    Q_EMIT pageBuiltSignal(templateNumber);
}

void PrintWindow::takeModel()
{
    for (int n = 1; n <= Catalogue::templateCount; ++n) {
        QWidget* page = m_reportWidgets[n - 1];
        if (!page)
            continue;   // made from the model when first shown
        for (ViewBox* box : page->findChildren<ViewBox*>(Qt::FindDirectChildrenOnly))
            box->takeSlot();
        if (QLabel* banner = bannerLabel(n))
            banner->move(m_model.catalogue().waybillTemplate(n).banner);
    }
}

void PrintWindow::refreshRows()
{
    // While a batch is laid out the query steps through every row; the boxes catch up once
    // the run is over instead of repainting the page for each row.
    for (const auto& page : m_reportPages) {
        if (page && !page->available()) {
            m_refreshAfterRun = true;
            return;
        }
    }
    m_refreshAfterRun = false;
    const int shown = shownTemplate();
    if (QWidget* page = shown ? m_reportWidgets[shown - 1] : nullptr)
        page->update();
    if (m_summary)
        m_summary->setText(batchSummary());
}

QString PrintWindow::batchSummary() const
{
    if (!m_batch)
        return QString();
    const QString sender = currentValue(m_model.senders(), QStringLiteral("姓名"));
    const QString who = sender.isEmpty() ? QStringLiteral("（未选择）") : sender;
    if (!m_batch->ADOQuery1()->Active())
        return QStringLiteral("寄件人：%1 · 收件人未能读取，共 1 张").arg(who);
    const int rows = m_batch->ADOQuery1()->RecordCount();
    if (rows == 0)
        return QStringLiteral("寄件人：%1 · 收件人为空，共 1 张").arg(who);
    return QStringLiteral("寄件人：%1 · 共 %2 张").arg(who).arg(rows);
}

int PrintWindow::shownTemplate() const
{
    return m_pages->currentIndex() + 1;
}

QWidget* PrintWindow::tabSheet(int templateNumber) const
{
    return m_sheets.at(templateNumber - 1);
}

bool PrintWindow::pageBuilt(int templateNumber) const
{
    return m_reportWidgets.at(templateNumber - 1) != nullptr;
}

ViewBox* PrintWindow::viewBox(int slotNumber) const
{
    const int n = m_model.catalogue().templateOfSlot(slotNumber);
    QWidget* page = m_reportWidgets[n - 1];
    return page ? page->findChild<ViewBox*>(QStringLiteral("DBMemo%1").arg(slotNumber)) : nullptr;
}

QLabel* PrintWindow::bannerLabel(int templateNumber) const
{
    QWidget* page = m_reportWidgets.at(templateNumber - 1);
    return page ? page->findChild<QLabel*>(QStringLiteral("QRLabel%1").arg(templateNumber)) : nullptr;
}

TemplateReportPage& PrintWindow::reportPage(int templateNumber)
{
    auto& page = m_reportPages.at(templateNumber - 1);
    if (!page) {
        page = std::make_unique<TemplateReportPage>(m_model.catalogue().waybillTemplate(templateNumber),
                                                    m_model.rows());
        page->ReportTitle = windowTitle();
        if (m_batch)
            page->DataSet = m_batch->dataSet();
        // A window opened while this modal window runs is blocked unless it belongs to it: the
        // preview, and the progress window of a print started from the preview.
        connect(page.get(), &ReportPage::previewOpened, this,
                [this](TQRStandardPreview* preview) { adoptWindow(preview); });
        connect(page.get(), &ReportPage::printStarted, this,
                [this](TPageRun*, QWidget* progress) { adoptWindow(progress); });
    }
    return *page;
}

void PrintWindow::adoptWindow(QWidget* window)
{
    if (!window || !isVisible() || window->parentWidget() == this)
        return;
    const bool wasVisible = window->isVisible();
    const Qt::WindowStates state = window->windowState();
    const QRect place = window->geometry();
    window->setParent(this, window->windowFlags() | Qt::Window);
    window->setGeometry(place);
    window->setWindowState(state);
    if (wasVisible)
        window->show();
}

void PrintWindow::prepare(const QString& caption, int templateNumber, int outerHeight)
{
    setWindowTitle(caption);
    m_pages->setCurrentIndex(templateNumber - 1);
    ensurePage(templateNumber);
    m_outerHeight = outerHeight;
    applyOuterHeight();
    centreOnScreen();
}

void PrintWindow::open(const QString& caption, int templateNumber, int outerHeight)
{
    prepare(caption, templateNumber, outerHeight);
    exec();
}

void PrintWindow::applyOuterHeight()
{
    // The frame's height is known once the window system has framed the window.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    setFixedSize(m_traits.clientWidth, qMax(1, m_outerHeight - frame.top() - frame.bottom()));
}

void PrintWindow::centreOnScreen()
{
    const QScreen* screen = windowHandle() && windowHandle()->screen() ? windowHandle()->screen()
                                                                       : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize outer(width() + frame.left() + frame.right(), height() + frame.top() + frame.bottom());
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void PrintWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Opening the window activates it; not every window system reports that activation, so
    // the query is re-run on showing as well.
    if (!event->spontaneous())
        FormActivate();
    // The first showing tells the frame's size: the outer height and centre follow it.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (height() != m_outerHeight - frame.top() - frame.bottom()) {
        applyOuterHeight();
        centreOnScreen();
    }
    refreshRows();
}

bool PrintWindow::event(QEvent* event)
{
    // The activation that hands the focus back from our own error box is not a new one:
    // re-running a failing query there would bring the box back for ever.
    if (event->type() == QEvent::WindowActivate && m_batch && !m_reportingError && m_quietActivation.hasExpired())
        FormActivate();
    return QDialog::event(event);
}

void PrintWindow::keyPressEvent(QKeyEvent* event)
{
    // Only 关闭窗口 and the close box close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PrintWindow::runGuarded(const std::function<void()>& handler)
{
    QString message;
    try {
        handler();
        return;
    } catch (const Error& e) {
        message = e.message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    }
    m_reportingError = true;
    Dialogs::showError(this, message);
    m_reportingError = false;
    m_quietActivation.setRemainingTime(500);
}

void PrintWindow::FormActivate()
{
    if (!m_batch)
        return;
    runGuarded([this] { m_batch->requery(); });
    refreshRows();
}

void PrintWindow::SpeedButton1Click()
{
    SystemFontChooser system;
    FontChooser& chooser = m_fontChooser ? *m_fontChooser : system;
    QFont font = m_model.dialogFont();
    QColor colour = m_model.dialogColour();
    if (!chooser.choose(this, font, colour))
        return;
    m_model.setType(font, colour);
}

void PrintWindow::SpeedButton3Click()
{
    for (int n = 1; n <= Catalogue::templateCount; ++n) {
        if (!m_sheets[n - 1]->isVisible())
            continue;
        TemplateReportPage& page = reportPage(n);
        page.ReportTitle = windowTitle();
        runGuarded([&page] { page.Preview(); });
        if (m_refreshAfterRun)
            refreshRows();
    }
}

void PrintWindow::SpeedButton4Click()
{
    close();
}

void PrintWindow::SpeedButton5Click()
{
    runGuarded([this] { m_model.moveVertically(m_edit1->text()); });
}

void PrintWindow::SpeedButton6Click()
{
    runGuarded([this] { m_model.moveHorizontally(m_edit2->text()); });
}

std::unique_ptr<PrintWindow> makePrintWindow(PrintWindowKind kind, List* senders, List* mainRecipients,
                                             List* mainImport, QWidget* parent)
{
    switch (kind) {
    case PrintWindowKind::Dd: return std::make_unique<TDdForm>(senders, mainRecipients, parent);
    case PrintWindowKind::Edd: return std::make_unique<TEddForm>(senders, mainImport, parent);
    case PrintWindowKind::Pd: return std::make_unique<TPdForm>(senders, parent);
    case PrintWindowKind::Ped: return std::make_unique<TPedForm>(senders, parent);
    }
    return nullptr;
}

}
