#include "app/PageParts.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "core/Dialogs.h"
#include "core/Error.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>

#include <limits>

namespace corvane {

QFont songTi(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* addBackground(QWidget* page, const char* name, const QString& picture)
{
    auto* image = new QLabel(page);
    image->setObjectName(QLatin1String(name));
    image->setGeometry(0, 0, 982, 522);
    image->setPixmap(QPixmap(picture));
    image->lower();
    return image;
}

QVector<QLineEdit*> addInputBoxes(QWidget* page, const QVector<InputBox>& boxes, int height)
{
    QVector<QLineEdit*> edits;
    for (const InputBox& box : boxes) {
        auto* label = new QLabel(QString::fromUtf8(box.label), page);
        label->setObjectName(QStringLiteral("Label") + QLatin1String(box.name));
        label->setFont(songTi());
        label->adjustSize();
        label->move(box.left - 6 - label->width(), box.top + (height - label->height()) / 2);

        auto* edit = new QLineEdit(page);
        edit->setObjectName(QLatin1String(box.name));
        edit->setFont(songTi());
        edit->setGeometry(box.left, box.top, box.width, height);
        // Whatever length the column holds: the default limit would cut a long field on its next edit.
        edit->setMaxLength(std::numeric_limits<int>::max());
        // Flat: a thin line instead of the sunken frame.
        edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #7a96b8; padding: 0 2px; }"));
        label->setBuddy(edit);
        if (!edits.isEmpty())
            QWidget::setTabOrder(edits.last(), edit);
        edits << edit;
    }
    return edits;
}

QToolButton* addButton(QWidget* page, const PageButton& place)
{
    auto* button = new QToolButton(page);
    button->setObjectName(QLatin1String(place.name));
    button->setText(QString::fromUtf8(place.caption));
    button->setFont(songTi(12));
    button->setAutoRaise(true);
    button->setGeometry(place.left, place.top, place.width, place.height);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QStringLiteral(
        "QToolButton { border: 1px solid #8fa8c8; border-radius: 2px; background: rgba(255,255,255,150); }"
        "QToolButton:hover { background: #ffffff; border-color: #3c78c8; }"
        "QToolButton:pressed { background: #d6e4f7; }"
        "QToolButton:disabled { color: #9a9a9a; border-color: #c8c8c8; }"));
    return button;
}

void addSectionTitle(QWidget* page, const QString& title, int titleLeft, int titleTop, int ruleTop, int ruleRight)
{
    auto* label = new QLabel(title, page);
    label->setFont(songTi(14, true));
    label->setStyleSheet(QStringLiteral("QLabel { color: #0000ff; }"));
    label->adjustSize();
    label->move(titleLeft, titleTop);
    // The rule runs on both sides of the title.
    const QRect spans[] = {{8, ruleTop - 1, titleLeft - 12, 2},
                           {titleLeft + label->width() + 4, ruleTop - 1, ruleRight - titleLeft - label->width() - 4, 2}};
    for (const QRect& span : spans) {
        auto* rule = new QFrame(page);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        rule->setGeometry(span);
    }
}

QMenu* addPopupMenu(QWidget* owner, const char* name, const QVector<QPair<const char*, const char*>>& entries)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(QLatin1String(name));
    for (const auto& [entryName, caption] : entries) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(entryName));
    }
    return menu;
}

void setTexts(const QVector<QLineEdit*>& boxes, const QStringList& texts)
{
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(texts.value(i));
}

void clearTexts(const QVector<QLineEdit*>& boxes)
{
    for (QLineEdit* box : boxes)
        box->setText(QString());
}

bool allEmpty(const QVector<QLineEdit*>& boxes)
{
    return std::all_of(boxes.begin(), boxes.end(), [](QLineEdit* box) { return box->text().isEmpty(); });
}

void writeBoxes(List& list, const QVector<InputBox>& table, const QVector<QLineEdit*>& boxes,
                bool onlyModified)
{
    for (int i = 0; i < boxes.size(); ++i)
        if (!onlyModified || boxes[i]->isModified())
            list.FieldByName(QString::fromUtf8(table[i].column)).setAsString(boxes[i]->text());
}

void readBoxes(List& list, const QVector<InputBox>& table, const QVector<QLineEdit*>& boxes)
{
    QStringList texts;
    for (const InputBox& box : table)
        texts << list.FieldByName(QString::fromUtf8(box.column)).AsString();
    setTexts(boxes, texts);
}

void modifyCurrentRow(QWidget* page, List& list, const QVector<InputBox>& table,
                      const QVector<QLineEdit*>& boxes)
{
    if (list.RecordCount() == 0) {
        Dialogs::hint(page, QStringLiteral("当前修改记录为空！"));
        return;
    }
    list.Edit();
    writeBoxes(list, table, boxes, true);
    list.Post();
    Dialogs::hint(page, QStringLiteral("修改记录成功！"));
}

void showPage(QWidget* page)
{
    for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
        if (auto* pages = qobject_cast<QTabWidget*>(w)) {
            pages->setCurrentWidget(page);
            return;
        }
    }
}

void deleteSelectedRows(QWidget* page, DataGrid* grid)
{
    const QVector<int> rows = grid->selectedRows();
    if (rows.isEmpty()) {
        Dialogs::hint(page,
                      QStringLiteral("请单击左边的序号选中一条记录或拖选一段记录，\r\n"
                                     "也可以用Ctrl及Shift来进行多选，然后再删除记录。"),
                      MessageIcon::Information);
        return;
    }
    if (!Dialogs::confirm(page, QStringLiteral("确定要删除选中的记录？")))
        return;
    if (grid->list()->RecordCount() > 0) {
        grid->list()->deleteRows(rows);
        grid->clearSelectedRows();
    }
}

void runGuarded(QWidget* where, List* list, const std::function<void()>& handler)
{
    try {
        handler();
        return;
    } catch (const Error& e) {
        if (list)
            list->Cancel();
        Dialogs::showError(where, e.message());
    } catch (const std::exception& e) {
        if (list)
            list->Cancel();
        Dialogs::showError(where, QString::fromLocal8Bit(e.what()));
    }
}

}
