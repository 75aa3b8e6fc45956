#include "addressbook/CellText.h"

#include <QLocale>
#include <cmath>

namespace corvane {

QString numberCellText(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0");   // also for -0
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));
    // Spreadsheets keep 15 significant digits; rounding there first turns 0.1 + 0.2 into "0.3".
    bool ok = false;
    const double kept = QString::number(value, 'g', 15).toDouble(&ok);
    return QString::number(ok ? kept : value, 'f', QLocale::FloatingPointShortest);
}

}

#include <QDateTime>

namespace corvane {

QString dateCellText(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466)
        return numberCellText(serial);
    qint64 days = qint64(std::floor(serial));
    qint64 seconds = qint64(std::llround((serial - double(days)) * 86400.0));
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    const QTime time = QTime(0, 0).addSecs(int(seconds));
    if (days == 0 && !date1904)
        return time.toString(QStringLiteral("HH:mm:ss"));
    // The 1900 system counts a 29 February 1900 that never was: serials from 61 on are one too high.
    QDate base = date1904 ? QDate(1904, 1, 1) : (days < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30));
    const QString date = base.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    return seconds ? date + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm:ss")) : date;
}

bool isBuiltInDateFormat(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47)
        || (id >= 50 && id <= 58);
}

bool isDateFormatCode(const QString& code)
{
    // Quoted text, escaped characters and [colour]/[$-804] sections do not count; [h] does.
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            quoted = c != QLatin1Char('"');
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = code.indexOf(QLatin1Char(']'), i);
            const QString inside = code.mid(i + 1, end < 0 ? -1 : end - i - 1).toLower();
            if (inside == QLatin1String("h") || inside == QLatin1String("hh") || inside == QLatin1String("m")
                || inside == QLatin1String("mm") || inside == QLatin1String("s") || inside == QLatin1String("ss"))
                return true;
            if (end < 0)
                return false;
            i = end;
        } else if (QStringLiteral("yYmMdDhHsS").contains(c)) {
            return true;
        } else if (c == QLatin1Char(';')) {
            return false;   // only the first section decides
        }
    }
    return false;
}

}
