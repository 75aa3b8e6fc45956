#pragma once
#include "addressbook/List.h"
#include "templates/Catalogue.h"
#include "templates/SlotRows.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>

namespace corvane {


// The state a user changes in one print window: its own copy of the catalogue (positions and
// type of every box of all 33 templates, shown yet or not), the font dialog's last font, and
// the rows its slots read. Widgets draw from it and the page engine lays out from it.
class PrintWindowModel : public QObject {
    Q_OBJECT
public:
    explicit PrintWindowModel(PrintWindowKind window, QObject* parent = nullptr);

    PrintWindowKind window() const { return m_catalogue.window(); }
    Catalogue& catalogue() { return m_catalogue; }
    const Catalogue& catalogue() const { return m_catalogue; }

    // The rows: the sender list's current row and the recipient list's current row.
    void setRowSources(List* senders, List* recipients);
    List* senders() const { return m_senders; }
    List* recipients() const { return m_recipients; }
    SlotRows rows() const;

    // Moves every banner label, view box and print box by the typed amount. An empty text does
    // nothing (false); a text that does not convert throws corvane::Error before anything moves.
    bool moveVertically(const QString& amountText);
    bool moveHorizontally(const QString& amountText);

    // The font dialog's value: "MS Sans Serif" 11 px until a font is confirmed.
    QFont dialogFont() const { return m_dialogFont; }
    QColor dialogColour() const { return m_dialogColour; }
    // A confirmed font: every ordinary slot's view and print box takes it; large-type slots
    // and banners keep theirs.
    void setType(const QFont& font, const QColor& colour);

Q_SIGNALS:
    // Positions or type changed.
    void layoutChanged();

private:
    Catalogue m_catalogue;
    QPointer<List> m_senders;
    QPointer<List> m_recipients;
    QFont m_dialogFont;
    QColor m_dialogColour = Qt::black;
};

// The value of `column` in the list's current row; "" without a list, an open list or a row.
QString currentValue(const List* list, const QString& column);

// The face the font dialog starts from, mapped to an installed sans face.
QFont initialDialogFont();

}
