#include "FormSheet.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <algorithm>

using namespace corvane;

namespace {

constexpr qreal margin = 5;
const QSizeF bannerSize(305, 23);

QFont labelFont(qreal pixels, bool bold = false)
{
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(qMax(1, qRound(pixels)));
    font.setBold(bold);
    return font;
}

QFont titleFont(qreal pixels)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(qMax(1, qRound(pixels)));
    font.setBold(true);
    return font;
}

QSizeF textSize(const QFont& font, const QString& text)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

bool isDate(const TextSlot& slot)
{
    return slot.column == QStringLiteral("年") || slot.column == QStringLiteral("月") || slot.column == QStringLiteral("日");
}

// Fields that make up a sender's or recipient's particulars (the block drawn round them).
bool isParticular(const TextSlot& slot)
{
    static const QStringList columns{QStringLiteral("姓名"), QStringLiteral("城市"), QStringLiteral("邮编"),
                                     QStringLiteral("寄件单位"), QStringLiteral("收件单位"), QStringLiteral("地址"),
                                     QStringLiteral("手机"), QStringLiteral("电话")};
    return !slot.largeType && columns.contains(slot.column);
}

}

FormSheet::FormSheet(const WaybillTemplate& waybillTemplate)
    : m_template(waybillTemplate)
    , m_style(formStyleFor(waybillTemplate.company, waybillTemplate.variant))
{
}

QRectF FormSheet::pageArea() const
{
    return QRectF(QPointF(0, 0), QSizeF(m_template.band)).adjusted(margin, margin, -margin, -margin);
}

bool FormSheet::isFree(const QRectF& area, bool insideFrame) const
{
    const QRectF inside = insideFrame ? pageArea().adjusted(3, 3, -3, -3) : pageArea();
    if (!inside.contains(area) || (insideFrame && area.top() < m_frameTop + 2))
        return false;
    return std::none_of(m_taken.begin(), m_taken.end(), [&](const QRectF& r) { return r.intersects(area); });
}

bool FormSheet::placeText(QPainter& painter, const QString& text, const QList<QRectF>& candidates,
                          const QFont& font, Qt::Alignment alignment, int owner)
{
    for (const QRectF& place : candidates) {
        if (!isFree(place))
            continue;
        painter.setFont(font);
        painter.setPen(m_style.ink);
        painter.drawText(place, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, text);
        m_taken << place;
        m_labels << PlacedLabel{place, owner};
        return true;
    }
    return false;
}

QImage FormSheet::draw(int grain)
{
    m_taken.clear();
    m_labels.clear();
    m_unlabelled.clear();
    for (const TextSlot& slot : m_template.textSlots)
        m_taken << QRectF(slot.rect).adjusted(-0.5, -1, 0.5, 1);
    // The banner is printed over the form; keep the form's own print out of its way.
    m_taken << QRectF(QPointF(m_template.banner), bannerSize);

    QImage image(m_template.pictureSize, QImage::Format_RGB32);
    image.fill(m_style.paper);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Draw in page pixels; the picture is scaled into its rectangle on the page.
    const QRect& target = m_template.pictureRect;
    painter.scale(qreal(image.width()) / target.width(), qreal(image.height()) / target.height());
    painter.translate(-target.x(), -target.y());

    qreal top = m_template.band.height();
    for (const TextSlot& slot : m_template.textSlots)
        top = qMin<qreal>(top, slot.rect.y());
    m_frameTop = qMax<qreal>(margin, top - 22);

    drawHeader(painter);
    drawBarcode(painter);
    for (const TextSlot& slot : m_template.textSlots)
        drawField(painter, slot);
    for (const TextSlot& slot : m_template.textSlots)
        if (isDate(slot))
            drawDateUnit(painter, slot);
    drawBlock(painter, SlotRole::Sender);
    drawBlock(painter, SlotRole::Recipient);
    drawFooter(painter);
    drawServicePanels(painter);

    // The outer frame of the form.
    painter.setPen(QPen(m_style.ink, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(margin, m_frameTop, m_template.band.width() - 2 * margin,
                                   m_template.band.height() - m_frameTop - margin),
                            6, 6);
    painter.end();

    if (grain > 0) {
        QRandomGenerator random(quint32(m_template.number * 7919 + image.width()));
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int d = random.bounded(2 * grain + 1) - grain;
                const QRgb p = line[x];
                line[x] = qRgb(qBound(0, qRed(p) + d, 255), qBound(0, qGreen(p) + d, 255), qBound(0, qBlue(p) + d, 255));
            }
        }
    }
    return image;
}

void FormSheet::drawHeader(QPainter& painter)
{
    // The title sits in the top strip, left of anything printed there and above the banner.
    qreal bottom = m_template.banner.y() - 3;
    qreal right = m_template.band.width() - 12;
    for (const TextSlot& slot : m_template.textSlots) {
        if (slot.rect.y() < 130 && slot.rect.x() > 360)
            right = qMin<qreal>(right, slot.rect.x() - 10);
        else if (slot.rect.x() < 360)
            bottom = qMin<qreal>(bottom, slot.rect.y() - 3);
    }
    bottom = qMin(bottom, m_frameTop - 2);
    const qreal height = bottom - margin - 2;
    if (height < 12)
        return;
    const QFont title = titleFont(qBound<qreal>(13, height * 0.72, 30));
    const QFont subtitle = labelFont(qBound<qreal>(10, height * 0.42, 17));
    const QSizeF titleSize = textSize(title, m_style.title);
    const QSizeF subtitleSize = textSize(subtitle, m_style.subtitle);
    QRectF titleRect(16, margin + 2 + (height - titleSize.height()) / 2, titleSize.width(), titleSize.height());
    if (titleRect.right() > right)
        return;
    // A coloured mark before the name, like a company logo.
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_style.ink);
    const qreal mark = qMin<qreal>(titleSize.height() * 0.8, 24);
    painter.drawEllipse(QRectF(titleRect.left(), titleRect.center().y() - mark / 2, mark, mark));
    painter.setPen(m_style.paper);
    painter.setFont(labelFont(mark * 0.6, true));
    painter.drawText(QRectF(titleRect.left(), titleRect.center().y() - mark / 2, mark, mark), Qt::AlignCenter,
                     m_style.title.left(1));
    titleRect.translate(mark + 6, 0);
    painter.setPen(m_style.ink);
    painter.setFont(title);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, m_style.title);
    m_taken << titleRect;
    const QRectF subtitleRect(titleRect.right() + 12, titleRect.bottom() - subtitleSize.height() - 1,
                              subtitleSize.width(), subtitleSize.height());
    if (subtitleRect.right() <= right) {
        painter.setFont(subtitle);
        painter.drawText(subtitleRect, Qt::AlignLeft | Qt::AlignVCenter, m_style.subtitle);
        m_taken << subtitleRect;
    }
}

void FormSheet::drawBarcode(QPainter& painter)
{
    // The waybill number's bar code, top right, where the form leaves room for it.
    const QRectF area(m_template.band.width() - 236, margin + 3, 216, 34);
    const QRectF banner(QPointF(m_template.banner), bannerSize);
    if (!isFree(area.adjusted(-4, -2, 4, 4), false) || area.intersects(banner))
        return;
    QRandomGenerator random(quint32(m_template.number));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 20));
    qreal x = area.left() + 8;
    const qreal barBottom = area.top() + 22;
    while (x < area.right() - 10) {
        const qreal width = 0.8 + random.bounded(3) * 0.9;
        painter.drawRect(QRectF(x, area.top(), width, barBottom - area.top()));
        x += width + 0.9 + random.bounded(3) * 0.8;
    }
    QString number;
    for (int i = 0; i < 12; ++i)
        number += QChar(u'0' + random.bounded(10));
    painter.setPen(QColor(20, 20, 20));
    painter.setFont(labelFont(10));
    painter.drawText(QRectF(area.left(), barBottom, area.width(), area.bottom() - barBottom), Qt::AlignCenter,
                     number.left(4) + QLatin1Char(' ') + number.mid(4, 4) + QLatin1Char(' ') + number.mid(8));
    m_taken << area;
}

void FormSheet::drawField(QPainter& painter, const TextSlot& slot)
{
    const QRectF box(slot.rect);
    const QColor rule = QColor(m_style.ink.red(), m_style.ink.green(), m_style.ink.blue(), 170);
    const QStringList labels = isDate(slot) ? QStringList() : fieldLabels(slot.role, slot.column, slot.largeType);

    if (slot.largeType) {
        // The destination is written large in a box of its own.
        painter.setPen(QPen(m_style.ink, 1.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(-2, -2, 2, 2));
    } else {
        painter.setPen(QPen(rule, 0.9));
        const int lines = qMax(1, slot.rect.height() / 20);
        for (int i = 1; i <= lines; ++i) {
            const qreal y = box.top() + box.height() * i / lines + 0.5;
            painter.drawLine(QPointF(box.left() - 2, y), QPointF(box.right() + 1, y));
        }
    }
    if (labels.isEmpty())
        return;

    // Left of the box is where a form prints its labels; above, right or below only for lack
    // of room. The long label first, the short one before giving up a place.
    const qreal firstLine = box.top() + qMin<qreal>(11, box.height() / 2);
    for (int where = 0; where < 4; ++where)
        for (const QString& label : labels)
            for (qreal pixels : {12.5, 11.5, 10.5}) {
                const QFont font = labelFont(pixels);
                const QSizeF size = textSize(font, label);
                const QRectF places[] = {
                    QRectF(box.left() - 5 - size.width(), firstLine - size.height() / 2, size.width(), size.height()),
                    QRectF(box.left(), box.top() - size.height() - 2, size.width(), size.height()),
                    QRectF(box.right() + 5, firstLine - size.height() / 2, size.width(), size.height()),
                    QRectF(box.left(), box.bottom() + 3, size.width(), size.height())};
                if (placeText(painter, label, {places[where]}, font, Qt::AlignLeft, slot.number))
                    return;
            }
    m_unlabelled << QStringLiteral("%1 %2").arg(slot.number).arg(labels.first());
}

void FormSheet::drawDateUnit(QPainter& painter, const TextSlot& slot)
{
    // 年 月 日 follow their boxes, as "____年__月__日" on the paper.
    const QRectF box(slot.rect);
    for (qreal pixels : {12.0, 11.0, 10.0, 9.0, 8.0}) {
        const QFont font = labelFont(pixels);
        const QSizeF size = textSize(font, slot.column);
        const QRectF after(box.right() + 1.2, box.center().y() - size.height() / 2, size.width(), size.height());
        if (placeText(painter, slot.column, {after}, font, Qt::AlignCenter, slot.number))
            return;
    }
    for (qreal pixels : {11.0, 10.0}) {
        const QFont font = labelFont(pixels);
        const QSizeF size = textSize(font, slot.column);
        const QRectF below(box.center().x() - size.width() / 2, box.bottom() + 2, size.width(), size.height());
        const QRectF above(box.center().x() - size.width() / 2, box.top() - size.height() - 1, size.width(),
                           size.height());
        if (placeText(painter, slot.column, {below, above}, font, Qt::AlignCenter, slot.number))
            return;
    }
    m_unlabelled << QStringLiteral("%1 %2").arg(slot.number).arg(slot.column);
}

void FormSheet::drawBlock(QPainter& painter, SlotRole role)
{
    // The block is the address and the fields next to it, grown one neighbour at a time, so
    // that a field printed far away (a city in the corner) stays outside.
    QList<const TextSlot*> members;
    for (const TextSlot& slot : m_template.textSlots)
        if (slot.role == role && isParticular(slot) && slot.column == QStringLiteral("地址"))
            members << &slot;
    if (members.isEmpty())
        return;
    QRectF block(members.first()->rect);
    for (bool grown = true; grown;) {
        grown = false;
        for (const TextSlot& slot : m_template.textSlots) {
            if (slot.role != role || !isParticular(slot) || members.contains(&slot))
                continue;
            if (block.adjusted(-40, -30, 40, 30).intersects(QRectF(slot.rect))) {
                members << &slot;
                block |= QRectF(slot.rect);
                grown = true;
            }
        }
    }
    const auto isMember = [&](int number) {
        return std::any_of(members.begin(), members.end(), [&](const TextSlot* s) { return s->number == number; });
    };
    for (const PlacedLabel& label : m_labels)
        if (label.slot != 0 && isMember(label.slot))
            block |= label.rect;
    block.adjust(-3, -4, 3, 4);

    // Only when the frame meets nothing else on the sheet.
    const auto clear = [&](const QRectF& area) {
        if (!pageArea().contains(area))
            return false;
        for (const TextSlot& slot : m_template.textSlots)
            if (!isMember(slot.number) && QRectF(slot.rect).intersects(area))
                return false;
        for (const PlacedLabel& label : m_labels)
            if (!isMember(label.slot) && label.rect.intersects(area))
                return false;
        return true;
    };
    const QString title = role == SlotRole::Sender ? QStringLiteral("寄件人") : QStringLiteral("收件人");
    QColor band = m_style.ink;
    band.setAlpha(40);
    const QRectF withStrip = block.adjusted(-20, 0, 0, 0);
    if (clear(withStrip)) {
        // A shaded strip down the left edge carries the block's name, one character a line.
        painter.setPen(QPen(m_style.ink, 1.1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(withStrip, 4, 4);
        const QRectF strip(withStrip.left(), block.top(), 18, block.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(band);
        painter.drawRect(strip.adjusted(0.6, 0.6, 0, -0.6));
        painter.setPen(m_style.ink);
        const qreal pixels = qMin<qreal>(14, (strip.height() - 8) / 3);
        painter.setFont(labelFont(pixels, true));
        const qreal step = qMin<qreal>(pixels * 1.5, strip.height() / 3);
        for (int i = 0; i < 3; ++i)
            painter.drawText(QRectF(strip.left(), strip.center().y() + (i - 1.5) * step, strip.width(), step),
                             Qt::AlignCenter, title.mid(i, 1));
        m_taken << withStrip;
        return;
    }
    if (!clear(block))
        return;
    // No room at the side: the name goes on a tab above the block's corner.
    const QFont font = labelFont(11, true);
    const QSizeF size = textSize(font, title) + QSizeF(10, 2);
    const QRectF tab(block.left() + 8, block.top() - size.height(), size.width(), size.height());
    painter.setPen(QPen(m_style.ink, 1.1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(block, 4, 4);
    if (clear(tab) && isFree(tab)) {
        painter.setBrush(band);
        painter.drawRect(tab);
        painter.setFont(font);
        painter.drawText(tab, Qt::AlignCenter, title);
        m_taken << tab;
    }
    m_taken << block;
}

void FormSheet::drawFooter(QPainter& painter)
{
    if (m_style.footer.isEmpty())
        return;
    const QFont font = labelFont(10);
    const QSizeF size = textSize(font, m_style.footer);
    const QRectF place(m_template.band.width() - margin - 10 - size.width(),
                       m_template.band.height() - margin - 3 - size.height(), size.width(), size.height());
    const QRectF left(margin + 14, place.top(), size.width(), size.height());
    placeText(painter, m_style.footer, {place, left}, font, Qt::AlignLeft);
}

void FormSheet::drawServicePanels(QPainter& painter)
{
    // The courier's own fields, filled in by hand at pick-up and delivery, where room is left.
    struct Panel {
        QSizeF size;
        QStringList lines;
    };
    const Panel panels[] = {
        {{236, 50}, {QStringLiteral("收件人签收"), QStringLiteral("签收时间        月      日      时")}},
        {{236, 24}, {QStringLiteral("付款方式   □寄付   □到付   □月结")}},
        {{236, 24}, {QStringLiteral("计费重量 ______ 公斤   运费 ______ 元")}},
        {{160, 24}, {QStringLiteral("收件员 ________")}},
    };
    const QFont font = labelFont(11.5);
    for (const Panel& panel : panels) {
        bool placed = false;
        // Bottom up, right to left: forms keep these in their lower right corner.
        for (qreal y = m_template.band.height() - 26 - panel.size.height(); !placed && y > m_frameTop + 10; y -= 6)
            for (qreal x = m_template.band.width() - panel.size.width() - 16; !placed && x > 16; x -= 6) {
                const QRectF area(QPointF(x, y), panel.size);
                if (!isFree(area.adjusted(-24, -16, 24, 16)))
                    continue;
                painter.setPen(QPen(m_style.ink, 0.9));
                painter.setBrush(Qt::NoBrush);
                painter.drawRoundedRect(area, 3, 3);
                painter.setFont(font);
                const qreal lineHeight = area.height() / panel.lines.size();
                for (int i = 0; i < panel.lines.size(); ++i)
                    painter.drawText(QRectF(area.left() + 8, area.top() + i * lineHeight, area.width() - 12, lineHeight),
                                     Qt::AlignLeft | Qt::AlignVCenter, panel.lines[i]);
                m_taken << area;
                placed = true;
            }
    }
}
