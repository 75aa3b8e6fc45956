#include "app/RecipientPage.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "core/Dialogs.h"
#include "app/PageParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace corvane {

namespace {

const QVector<InputBox> recipientBoxes{
    {"姓名", "Edit10", "姓名", 88, 16, 137},
    {"城市", "Edit11", "城市", 296, 16, 137},
    {"收件单位", "Edit12", "收件单位", 506, 16, 335},
    {"邮政编码", "Edit13", "邮编", 88, 43, 137},
    {"收件地址", "Edit14", "地址", 296, 43, 545},
    {"手机", "Edit15", "手机", 88, 70, 137},
    {"电话", "Edit16", "电话", 296, 70, 137},
    {"内件品名", "Edit17", "内件品名", 506, 70, 335},
    {"数量", "Edit18", "数量", 88, 97, 137},
    {"备注", "Edit19", "备注", 296, 97, 545},
};

// In this order: when several are filled, the last one decides the list.
const QVector<InputBox> searchBoxes{
    {"姓名", "Edit20", "姓名", 88, 152, 137},
    {"手机", "Edit21", "手机", 296, 152, 137},
    {"收件单位", "Edit29", "收件单位", 506, 152, 247},
};

const QString allRecipients = QStringLiteral("select * from inr");

}

RecipientPage::RecipientPage(List* recipients, QWidget* parent) : QWidget(parent), m_recipients(recipients)
{
    setObjectName(QStringLiteral("TabSheet2"));
    addBackground(this, "Image5", QStringLiteral(":/art/page-recipients.jpg"));

    m_boxes = addInputBoxes(this, recipientBoxes, 20);
    m_add = addButton(this, {"SpeedButton15", "添加", 880, 15, 65, 21});
    m_modify = addButton(this, {"SpeedButton16", "修改", 880, 42, 65, 21});
    QToolButton* remove = addButton(this, {"SpeedButton17", "删除", 880, 69, 65, 21});
    QToolButton* toggle = addButton(this, {"SpeedButton18", "切换", 880, 96, 65, 21});
    m_modify->setEnabled(false);

    addSectionTitle(this, QStringLiteral("单项查询"), 40, 128, 136, 836);
    m_searchBoxes = addInputBoxes(this, searchBoxes, 20);
    QWidget::setTabOrder(m_boxes.last(), m_searchBoxes.first());
    QToolButton* search = addButton(this, {"SpeedButton19", "查询", 792, 152, 65, 22});
    QToolButton* refresh = addButton(this, {"SpeedButton20", "刷新", 880, 152, 65, 22});

    // Clerks check here that a search or an import caught everyone.
    m_recordCount = new QLabel(this);
    m_recordCount->setObjectName(QStringLiteral("RecordCountLabel"));
    m_recordCount->setFont(songTi(12));
    m_recordCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_recordCount->setGeometry(840, 129, 105, 16);

    m_grid = new DataGrid(recipients, DataGrid::recipientColumns(), true, this);
    m_grid->setObjectName(QStringLiteral("DBGridEh2"));
    m_grid->setGeometry(2, 184, 976, 320);
    m_grid->setToolTip(QStringLiteral("双击修改记录！"));
    m_popup = addPopupMenu(this, "PopupMenu8", {{"N52", "修改记录"}, {"N53", "删除记录"}});
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_grid->viewport()->mapToGlobal(at)); });

    connect(m_add, &QToolButton::clicked, this, [this] { guarded(&RecipientPage::SpeedButton15Click); });
    connect(m_modify, &QToolButton::clicked, this, [this] { guarded(&RecipientPage::SpeedButton16Click); });
    connect(remove, &QToolButton::clicked, this, [this] { guarded(&RecipientPage::SpeedButton17Click); });
    connect(toggle, &QToolButton::clicked, this, &RecipientPage::SpeedButton18Click);
    connect(search, &QToolButton::clicked, this, [this] { guarded(&RecipientPage::SpeedButton19Click); });
    connect(refresh, &QToolButton::clicked, this, [this] { guarded(&RecipientPage::SpeedButton20Click); });
    connect(m_popup->actions().at(0), &QAction::triggered, this, [this] { guarded(&RecipientPage::N52Click); });
    connect(m_popup->actions().at(1), &QAction::triggered, this, [this] { guarded(&RecipientPage::N53Click); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] { guarded(&RecipientPage::DBGridEh2DblClick); });
    connect(m_recipients, &List::reset, this, &RecipientPage::showRecordCount);
    showRecordCount();
}

void RecipientPage::guarded(void (RecipientPage::*handler)())
{
    runGuarded(this, m_recipients, [&] { (this->*handler)(); });
}

void RecipientPage::setAddMode(bool add)
{
    m_add->setEnabled(add);
    m_modify->setEnabled(!add);
}

void RecipientPage::showRecordCount()
{
    m_recordCount->setText(m_recipients->Active()
                               ? QStringLiteral("共 %1 条记录").arg(m_recipients->RecordCount())
                               : QString());
}

void RecipientPage::SpeedButton2Click()
{
    clearTexts(m_boxes);
    // The 收件单位 box keeps its text, and the list keeps a search result.
    clearTexts({m_searchBoxes[0], m_searchBoxes[1]});
    showPage(this);
    m_boxes.first()->setFocus();
}

void RecipientPage::SpeedButton15Click()
{
    if (allEmpty(m_boxes)) {
        Dialogs::hint(this, QStringLiteral("收件信息不能为空！"));
        return;
    }
    m_recipients->Append();
    writeBoxes(*m_recipients, recipientBoxes, m_boxes);
    m_recipients->Post();
    clearTexts(m_boxes);
}

void RecipientPage::SpeedButton16Click()
{
    modifyCurrentRow(this, *m_recipients, recipientBoxes, m_boxes);
    setAddMode(true);
    clearTexts(m_boxes);
}

void RecipientPage::SpeedButton17Click()
{
    deleteSelectedRows(this, m_grid);
}

void RecipientPage::SpeedButton19Click()
{
    for (int i = 0; i < m_searchBoxes.size(); ++i) {
        const QString text = m_searchBoxes[i]->text();
        if (text.isEmpty())
            continue;
        m_recipients->Close();
        m_recipients->setSearch(QStringLiteral("inr"), QString::fromUtf8(searchBoxes[i].column), text);
        m_recipients->Open();
    }
}

void RecipientPage::SpeedButton20Click()
{
    clearTexts(m_searchBoxes);
    m_recipients->Close();
    m_recipients->setSQL(allRecipients);
    m_recipients->Open();
}

void RecipientPage::DBGridEh2DblClick()
{
    setAddMode(false);
    readBoxes(*m_recipients, recipientBoxes, m_boxes);
}

}
