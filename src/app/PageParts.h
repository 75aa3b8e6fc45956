#pragma once
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QAbstractButton;
class QFont;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QWidget;

namespace corvane {

class DataGrid;
class List;

// One labelled input box of a page: the label stands left of the box on the same line.
struct InputBox {
    const char* label;
    const char* name;     // object name, e.g. "Edit10"
    const char* column;   // list column it edits (or searches)
    int left, top, width;
};

struct PageButton {
    const char* name;
    const char* caption;
    int left, top, width, height;
};

// 宋体 of the given pixel size, the face of every page.
QFont songTi(int pixelSize = 14, bool bold = false);

// The picture that covers a page (982 x 522), below all its controls.
QLabel* addBackground(QWidget* page, const char* name, const QString& picture);
QVector<QLineEdit*> addInputBoxes(QWidget* page, const QVector<InputBox>& boxes, int height);
QToolButton* addButton(QWidget* page, const PageButton& button);
// A bold blue section title on a horizontal rule that ends at ruleRight.
void addSectionTitle(QWidget* page, const QString& title, int titleLeft, int titleTop, int ruleTop, int ruleRight);
QMenu* addPopupMenu(QWidget* owner, const char* name, const QVector<QPair<const char*, const char*>>& entries);

// Sets texts the way the program does: the modification flag is cleared.
void setTexts(const QVector<QLineEdit*>& boxes, const QStringList& texts);
void clearTexts(const QVector<QLineEdit*>& boxes);
bool allEmpty(const QVector<QLineEdit*>& boxes);   // untrimmed: blanks count as text

// Writes each box into its column of the list's new or changed row; with onlyModified, only the
// boxes the user changed.
void writeBoxes(List& list, const QVector<InputBox>& table, const QVector<QLineEdit*>& boxes,
                bool onlyModified = false);
// Fills the boxes from the current row's columns.
void readBoxes(List& list, const QVector<InputBox>& table, const QVector<QLineEdit*>& boxes);
// "修改": writes the changed boxes into the current row and says so; on an empty list, says that.
void modifyCurrentRow(QWidget* page, List& list, const QVector<InputBox>& table,
                      const QVector<QLineEdit*>& boxes);

// Makes `page` the shown page of the page control it lies on.
void showPage(QWidget* page);

// "删除": the selected rows of the grid go after one question; with none selected, a hint.
void deleteSelectedRows(QWidget* page, DataGrid* grid);

// Runs a handler; an error reaches the standard error box and a half-made row change is dropped,
// so the page stays as it was.
void runGuarded(QWidget* where, List* list, const std::function<void()>& handler);

}
