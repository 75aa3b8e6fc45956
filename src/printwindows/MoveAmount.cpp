#include "printwindows/MoveAmount.h"

#include "core/Error.h"

namespace corvane {

bool tryConvertMoveAmount(const QString& text, int* value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && (text.at(i) == QLatin1Char('$') || text.at(i) == QLatin1Char('x') || text.at(i) == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text.at(i) == QLatin1Char('0')
               && (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;   // a sign, a prefix or blanks alone

    quint64 magnitude = 0;
    const quint64 limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        int digit = -1;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (hex && c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            digit = c.unicode() - 'a' + 10;
        else if (hex && c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        if (digit < 0)
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + quint64(digit);
        if (magnitude > limit)
            return false;
    }
    // Hexadecimal digits give the 32-bit pattern, so the top bit makes the number negative.
    const qint64 signedValue = hex ? qint64(qint32(quint32(magnitude))) : qint64(magnitude);
    const qint64 result = negative ? -signedValue : signedValue;
    if (value)
        *value = qint32(quint32(quint64(result)));
    return true;
}

int convertMoveAmount(const QString& text)
{
    int value = 0;
    if (!tryConvertMoveAmount(text, &value))
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

}
