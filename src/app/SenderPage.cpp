#include "app/SenderPage.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "addressbook/SenderPageDate.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "app/PageParts.h"

#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace corvane {

namespace {

const QVector<InputBox> senderBoxes{
    {"姓名", "Edit1", "姓名", 88, 16, 137},
    {"城市", "Edit2", "城市", 296, 16, 137},
    {"寄件单位", "Edit3", "寄件单位", 504, 16, 337},
    {"邮政编码", "Edit4", "邮编", 88, 43, 137},
    {"寄件地址", "Edit5", "地址", 296, 43, 545},
    {"手机", "Edit6", "手机", 88, 70, 137},
    {"电话", "Edit7", "电话", 296, 70, 137},
    {"签名", "Edit8", "签名", 504, 70, 137},
    {"备注", "Edit9", "备注", 88, 97, 753},
};

const QVector<InputBox> dateBoxes{
    {"年", "Edit25", "年", 672, 70, 57},
    {"月", "Edit26", "月", 752, 70, 33},
    {"日", "Edit27", "日", 808, 70, 33},
};

const PageButton addPlace{"SpeedButton11", "添加", 880, 15, 65, 21};
const PageButton modifyPlace{"SpeedButton12", "修改", 880, 42, 65, 21};
const PageButton deletePlace{"SpeedButton13", "删除", 880, 69, 65, 21};
const PageButton switchPlace{"SpeedButton14", "切换", 880, 96, 65, 21};

}

SenderPage::SenderPage(List* senders, QWidget* parent) : QWidget(parent), m_senders(senders)
{
    setObjectName(QStringLiteral("TabSheet1"));
    addBackground(this, "Image4", QStringLiteral(":/art/page-senders.jpg"));

    m_boxes = addInputBoxes(this, senderBoxes, 19);
    m_dateBoxes = addInputBoxes(this, dateBoxes, 19);
    for (QLineEdit* box : m_dateBoxes) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setStyleSheet(QStringLiteral(
            "QLineEdit { border: 1px solid #7a96b8; padding: 0 2px; background: rgb(0,128,255); color: white; }"));
    }
    m_remembered = new QLineEdit(this);
    m_remembered->setObjectName(QStringLiteral("Edit28"));
    m_remembered->setVisible(false);

    m_add = addButton(this, addPlace);
    m_modify = addButton(this, modifyPlace);
    QToolButton* remove = addButton(this, deletePlace);
    QToolButton* toggle = addButton(this, switchPlace);
    m_modify->setEnabled(false);

    m_grid = new DataGrid(senders, DataGrid::senderColumns(), true, this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setGeometry(2, 129, 976, 375);
    m_grid->setToolTip(QStringLiteral("双击修改记录"));
    m_popup = addPopupMenu(this, "PopupMenu7", {{"N50", "修改记录"}, {"N51", "删除记录"}});
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_grid->viewport()->mapToGlobal(at)); });

    connect(m_add, &QToolButton::clicked, this, [this] { guarded(&SenderPage::SpeedButton11Click); });
    connect(m_modify, &QToolButton::clicked, this, [this] { guarded(&SenderPage::SpeedButton12Click); });
    connect(remove, &QToolButton::clicked, this, [this] { guarded(&SenderPage::SpeedButton13Click); });
    connect(toggle, &QToolButton::clicked, this, &SenderPage::SpeedButton14Click);
    connect(m_popup->actions().at(0), &QAction::triggered, this, [this] { guarded(&SenderPage::N50Click); });
    connect(m_popup->actions().at(1), &QAction::triggered, this, [this] { guarded(&SenderPage::N51Click); });
    connect(m_grid, &DataGrid::cellClicked, this,
            [this](int row) { runGuarded(this, m_senders, [&] { DBGridEh1CellClick(row); }); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] { guarded(&SenderPage::DBGridEh1DblClick); });
}

void SenderPage::guarded(void (SenderPage::*handler)())
{
    runGuarded(this, m_senders, [&] { (this->*handler)(); });
}

void SenderPage::setDateButton(QAbstractButton* button)
{
    m_dateButton = button;
    connect(button, &QAbstractButton::clicked, this, [this] { guarded(&SenderPage::SpeedButton8Click); });
}

QString SenderPage::rememberedName() const
{
    return m_remembered->text();
}

void SenderPage::showDate(const QStringList& parts)
{
    setTexts(m_dateBoxes, parts);
}

void SenderPage::setAddMode(bool add)
{
    m_add->setEnabled(add);
    m_modify->setEnabled(!add);
}

void SenderPage::startUp()
{
    const QStringList parts = SenderPageDate::startUp(*m_senders, Clock::today());
    showDate(parts);
    if (m_dateButton)
        m_dateButton->setText(SenderPageDate::buttonCaption(SenderPageDate::isShown(parts)));
    m_remembered->setText(m_senders->FieldByName(QStringLiteral("姓名")).AsString());
}

void SenderPage::SpeedButton1Click()
{
    m_senders->Close();
    m_senders->setSQL(QStringLiteral("select * from outr"));
    m_senders->Open();
    const QStringList parts = SenderPageDate::currentParts(*m_senders);
    showDate(parts);
    if (m_dateButton)
        m_dateButton->setText(SenderPageDate::buttonCaption(SenderPageDate::isShown(parts)));
    clearTexts(m_boxes);
    showPage(this);
    m_boxes.first()->setFocus();
}

void SenderPage::SpeedButton8Click()
{
    if (!m_dateButton)
        return;
    // The caption, not the row, says which way the press goes.
    const bool show = m_dateButton->text() == SenderPageDate::buttonCaption(false);
    const QStringList parts = show ? SenderPageDate::partsOf(Clock::today()) : SenderPageDate::hiddenParts();
    SenderPageDate::write(*m_senders, parts);
    m_dateButton->setText(SenderPageDate::buttonCaption(show));
    showDate(parts);
}

void SenderPage::SpeedButton11Click()
{
    if (allEmpty(m_boxes)) {
        Dialogs::hint(this, QStringLiteral("寄件信息不能为空！"));
        return;
    }
    m_senders->Append();
    writeBoxes(*m_senders, senderBoxes, m_boxes);
    writeBoxes(*m_senders, dateBoxes, m_dateBoxes);
    m_senders->Post();
    m_remembered->setText(m_boxes.first()->text());
    clearTexts(m_boxes);
}

void SenderPage::SpeedButton12Click()
{
    modifyCurrentRow(this, *m_senders, senderBoxes, m_boxes);
    setAddMode(true);
    clearTexts(m_boxes);
}

void SenderPage::SpeedButton13Click()
{
    deleteSelectedRows(this, m_grid);
}

void SenderPage::DBGridEh1CellClick(int)
{
    m_remembered->setText(m_senders->FieldByName(QStringLiteral("姓名")).AsString());
    const QStringList parts = SenderPageDate::currentParts(*m_senders);
    showDate(parts);
    if (m_dateButton)
        m_dateButton->setText(SenderPageDate::buttonCaption(SenderPageDate::isShown(parts)));
}

void SenderPage::DBGridEh1DblClick()
{
    setAddMode(false);
    readBoxes(*m_senders, senderBoxes, m_boxes);
}

}
