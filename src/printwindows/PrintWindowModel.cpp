#include "printwindows/PrintWindowModel.h"

#include "addressbook/List.h"
#include "printwindows/MoveAmount.h"

#include <QFontDatabase>

namespace corvane {

QString currentValue(const List* list, const QString& column)
{
    if (!list || !list->Active())
        return QString();
    const int row = list->RecNo();
    const int index = list->columnIndex(column);
    if (row < 0 || index < 0)
        return QString();
    return list->value(row, index);
}

QFont initialDialogFont()
{
    // The dialog's old bitmap face has no Linux counterpart; the system's sans face stands in.
    static const bool mapped = [] {
        if (QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty()) {
            const QString sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
            QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                       {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), sans});
        }
        return true;
    }();
    Q_UNUSED(mapped);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

PrintWindowModel::PrintWindowModel(PrintWindowKind window, QObject* parent)
    : QObject(parent), m_catalogue(window), m_dialogFont(initialDialogFont())
{
}

void PrintWindowModel::setRowSources(List* senders, List* recipients)
{
    m_senders = senders;
    m_recipients = recipients;
}

SlotRows PrintWindowModel::rows() const
{
    return SlotRows{[senders = m_senders](const QString& column) { return currentValue(senders.data(), column); },
                    [recipients = m_recipients](const QString& column) {
                        return currentValue(recipients.data(), column);
                    }};
}

bool PrintWindowModel::moveVertically(const QString& amountText)
{
    if (amountText.isEmpty())
        return false;
    m_catalogue.moveAll(0, convertMoveAmount(amountText));
    Q_EMIT layoutChanged();
    return true;
}

bool PrintWindowModel::moveHorizontally(const QString& amountText)
{
    if (amountText.isEmpty())
        return false;
    m_catalogue.moveAll(convertMoveAmount(amountText), 0);
    Q_EMIT layoutChanged();
    return true;
}

void PrintWindowModel::setType(const QFont& font, const QColor& colour)
{
    m_dialogFont = font;
    m_dialogColour = colour;
    m_catalogue.setOrdinaryType(font, colour);
    Q_EMIT layoutChanged();
}

}
