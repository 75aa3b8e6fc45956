#include "app/CatalogueJson.h"

namespace corvane {

namespace {

QString jsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

// Up to three decimals, without trailing zeros: 2300, 2299.229, 1505.479.
QString jsonNumber(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString rectMembers(const QRect& r)
{
    return QStringLiteral("\"x\":%1,\"y\":%2,\"w\":%3,\"h\":%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString slotJson(const TextSlot& s)
{
    return QStringLiteral("{\"number\":%1,\"role\":%2,\"column\":%3,%4,\"fontPx\":%5,\"bold\":%6,\"view\":{%7}}")
        .arg(s.number)
        .arg(jsonString(s.role == SlotRole::Sender ? QStringLiteral("S") : QStringLiteral("R")),
             jsonString(s.column), rectMembers(s.rect))
        .arg(s.fontPixelSize())
        .arg(s.font.bold() ? QLatin1String("true") : QLatin1String("false"), rectMembers(s.viewRect));
}

QString templateJson(const WaybillTemplate& t)
{
    QStringList slotObjects;
    for (const TextSlot& s : t.textSlots)
        slotObjects << slotJson(s);
    const QRect& p = t.pictureRect;
    return QStringLiteral("{\"number\":%1,\"company\":%2,\"variant\":%3,\"caption\":%4,")
               .arg(t.number)
               .arg(jsonString(t.company), jsonString(t.variant), jsonString(t.caption))
        + QStringLiteral("\"pageWidth\":%1,\"pageLength\":%2,\"bandWidth\":%3,\"bandHeight\":%4,\"screenOffset\":%5,")
              .arg(jsonNumber(t.pageWidth), jsonNumber(t.pageLength))
              .arg(t.band.width())
              .arg(t.band.height())
              .arg(t.screenOffset)
        + QStringLiteral("\"picture\":{%1,\"pixelWidth\":%2,\"pixelHeight\":%3},")
              .arg(rectMembers(p))
              .arg(t.pictureSize.width())
              .arg(t.pictureSize.height())
        + QStringLiteral("\"banner\":{\"x\":%1,\"y\":%2},").arg(t.banner.x()).arg(t.banner.y())
        + QStringLiteral("\"slots\":[%1]}").arg(slotObjects.join(QLatin1Char(',')));
}

}

QByteArray catalogueJson(const Catalogue& catalogue)
{
    QStringList templates;
    for (const WaybillTemplate& t : catalogue.templates())
        templates << templateJson(t);
    return QStringLiteral("{\"window\":%1,\"templates\":[%2]}")
        .arg(jsonString(printWindowKindName(catalogue.window())), templates.join(QLatin1Char(',')))
        .toUtf8();
}

}
