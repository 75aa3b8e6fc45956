#include "outputwindows/PrinterSetupDialog.h"

#include "core/Dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int pdfFileEntry = -1; // item data of the printer box's "PDF 文件" entry

}

PrinterSetupDialog::PrinterSetupDialog(const PrinterSetupRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request)
{
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("打印设置"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    m_printer = new QComboBox(this);
    m_printer->setObjectName(QStringLiteral("PrinterBox"));
    for (int i = 0; i < request.printers.size(); ++i)
        m_printer->addItem(request.printers.at(i), i);
    m_printer->addItem(QStringLiteral("PDF 文件"), pdfFileEntry);
    form->addRow(QStringLiteral("打印机："), m_printer);

    auto* fileRow = new QHBoxLayout;
    m_fileName = new QLineEdit(request.outputFileName, this);
    m_fileName->setObjectName(QStringLiteral("FileNameEdit"));
    m_browse = new QToolButton(this);
    m_browse->setText(QStringLiteral("浏览…"));
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_browse);
    m_fileLabel = new QLabel(QStringLiteral("文件名："), this);
    form->addRow(m_fileLabel, fileRow);

    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("CopiesBox"));
    m_copies->setRange(1, 999);
    m_copies->setValue(qMax(1, request.copies));
    form->addRow(QStringLiteral("份数："), m_copies);

    // Pages: all, or a range of page numbers within the limits (1 to the pages of the finished
    // preview, or 1 to 9999 while it is not finished).
    const int first = qMax(1, request.minPage);
    const int last = qMax(first, request.maxPage);
    m_allPages = new QRadioButton(QStringLiteral("全部"), this);
    m_pageRange = new QRadioButton(QStringLiteral("页码"), this);
    m_fromPage = new QSpinBox(this);
    m_fromPage->setObjectName(QStringLiteral("FromPageBox"));
    m_fromPage->setRange(first, last);
    m_fromPage->setValue(request.fromPage > 0 ? request.fromPage : first);
    m_toPage = new QSpinBox(this);
    m_toPage->setObjectName(QStringLiteral("ToPageBox"));
    m_toPage->setRange(first, last);
    m_toPage->setValue(request.toPage > 0 ? request.toPage : last);
    auto* pages = new QButtonGroup(this);
    pages->addButton(m_allPages);
    pages->addButton(m_pageRange);
    (request.pageRange ? m_pageRange : m_allPages)->setChecked(true);
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(m_allPages);
    pageRow->addSpacing(12);
    pageRow->addWidget(m_pageRange);
    pageRow->addWidget(new QLabel(QStringLiteral("从"), this));
    pageRow->addWidget(m_fromPage);
    pageRow->addWidget(new QLabel(QStringLiteral("到"), this));
    pageRow->addWidget(m_toPage);
    pageRow->addWidget(new QLabel(QStringLiteral("页"), this));
    pageRow->addStretch(1);
    form->addRow(QStringLiteral("打印范围："), pageRow);

    m_portrait = new QRadioButton(QStringLiteral("纵向"), this);
    m_landscape = new QRadioButton(QStringLiteral("横向"), this);
    auto* orientation = new QButtonGroup(this);
    orientation->addButton(m_portrait);
    orientation->addButton(m_landscape);
    (request.orientation == PageOrientation::Landscape ? m_landscape : m_portrait)->setChecked(true);
    auto* orientationRow = new QHBoxLayout;
    orientationRow->addWidget(m_portrait);
    orientationRow->addWidget(m_landscape);
    orientationRow->addStretch(1);
    form->addRow(QStringLiteral("方向："), orientationRow);

    auto* note = new QLabel(QStringLiteral("这些设置用于本模板此后的每次打印（程序关闭前有效），此处不会打印。"), this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttons = new QDialogButtonBox(this);
    m_confirm = buttons->addButton(QStringLiteral("使用此设置"), QDialogButtonBox::AcceptRole);
    m_confirm->setObjectName(QStringLiteral("ConfirmButton"));
    m_confirm->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    if (!request.outputFileName.isEmpty())
        m_printer->setCurrentIndex(m_printer->count() - 1);
    else if (request.printerIndex >= 0 && request.printerIndex < request.printers.size())
        m_printer->setCurrentIndex(request.printerIndex);

    connect(m_printer, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::updateControls);
    connect(m_allPages, &QRadioButton::toggled, this, &PrinterSetupDialog::updateControls);
    connect(m_browse, &QToolButton::clicked, this, &PrinterSetupDialog::chooseFile);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrinterSetupDialog::reject);
    updateControls();
}

void PrinterSetupDialog::updateControls()
{
    const bool toFile = m_printer->currentData().toInt() == pdfFileEntry;
    m_fileLabel->setVisible(toFile);
    m_fileName->setVisible(toFile);
    m_browse->setVisible(toFile);
    m_fromPage->setEnabled(m_pageRange->isChecked());
    m_toPage->setEnabled(m_pageRange->isChecked());
}

void PrinterSetupDialog::chooseFile()
{
    const QString name = Dialogs::current().saveFileName(this, QStringLiteral("打印到 PDF 文件"),
                                                         QStringLiteral("PDF 文件 (*.pdf)"));
    if (name.isEmpty())
        return;
    m_fileName->setText(name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? name : name + QStringLiteral(".pdf"));
}

void PrinterSetupDialog::accept()
{
    if (m_pageRange->isChecked() && m_fromPage->value() > m_toPage->value()) {
        Dialogs::hint(this, QStringLiteral("起始页不能大于结束页！"));
        return;
    }
    if (m_printer->currentData().toInt() == pdfFileEntry && m_fileName->text().trimmed().isEmpty()) {
        Dialogs::hint(this, QStringLiteral("请指定 PDF 文件名！"));
        return;
    }
    QDialog::accept();
}

PrinterSetupRequest PrinterSetupDialog::choices() const
{
    PrinterSetupRequest chosen = m_request;
    const int entry = m_printer->currentData().toInt();
    if (entry == pdfFileEntry) {
        chosen.outputFileName = m_fileName->text().trimmed();
    } else {
        chosen.outputFileName.clear();
        chosen.printerIndex = entry;
    }
    chosen.copies = m_copies->value();
    chosen.pageRange = m_pageRange->isChecked();
    chosen.fromPage = m_fromPage->value();
    chosen.toPage = m_toPage->value();
    chosen.orientation = m_landscape->isChecked() ? PageOrientation::Landscape : PageOrientation::Portrait;
    return chosen;
}

bool runPrinterSetupDialog(QWidget* parent, PrinterSetupRequest& request)
{
    PrinterSetupDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request = dialog.choices();
    return true;
}

}
