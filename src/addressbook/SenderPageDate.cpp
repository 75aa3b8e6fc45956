#include "addressbook/SenderPageDate.h"
#include "addressbook/Connection.h"
#include "addressbook/List.h"

namespace corvane {

const QStringList& SenderPageDate::columns()
{
    static const QStringList names{QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日")};
    return names;
}

QStringList SenderPageDate::partsOf(const QDate& day)
{
    return {QStringLiteral("%1").arg(day.year(), 4, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(day.month(), 2, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(day.day(), 2, 10, QLatin1Char('0'))};
}

QStringList SenderPageDate::hiddenParts()
{
    return {QString(), QString(), QString()};
}

QStringList SenderPageDate::currentParts(List& senders)
{
    QStringList parts;
    for (const QString& column : columns())
        parts << senders.FieldByName(column).AsString();
    return parts;
}

bool SenderPageDate::isShown(const QStringList& parts)
{
    return std::any_of(parts.begin(), parts.end(), [](const QString& part) { return !part.isEmpty(); });
}

QString SenderPageDate::buttonCaption(bool shown)
{
    return shown ? QStringLiteral("隐藏日期") : QStringLiteral("显示日期");
}

void SenderPageDate::write(List& senders, const QStringList& parts)
{
    senders.Edit();
    for (int i = 0; i < columns().size(); ++i)
        senders.FieldByName(columns()[i]).setAsString(parts.value(i));
    senders.Post();
}

QStringList SenderPageDate::startUp(List& senders, const QDate& today)
{
    if (!isShown(currentParts(senders)))
        return hiddenParts();
    const QStringList parts = partsOf(today);
    // A read-only book shows today's date without storing it.
    if (!senders.connection()->readOnly())
        write(senders, parts);
    return parts;
}

}
