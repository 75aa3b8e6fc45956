#pragma once
#include <QDate>
#include <QStringList>

namespace corvane {

class List;

// The date printed on a sender's waybills, kept in the sender row's 年, 月, 日.
// It is shown when any of the three holds text, hidden when all three are empty.
class SenderPageDate {
public:
    static const QStringList& columns();                  // 年, 月, 日
    static QStringList partsOf(const QDate& day);         // "2024", "05", "09"
    static QStringList hiddenParts();                     // three empty strings

    static QStringList currentParts(List& senders);       // of the current row
    static bool isShown(const QStringList& parts);
    static QString buttonCaption(bool shown);             // what a press of the date button does

    // Writes the parts into the current row (a new row on an empty list) and posts it.
    static void write(List& senders, const QStringList& parts);

    // Start-up on the first sender: a shown date becomes `today` and is stored; a hidden one stays
    // hidden. Returns what the date boxes show.
    static QStringList startUp(List& senders, const QDate& today);
};

}
