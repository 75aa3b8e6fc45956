#include "FormSheet.h"

#include "templates/BannerLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <algorithm>

using namespace corvane;

namespace {

constexpr qreal margin = 5;

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

FormSheet::FormSheet(const QList<WaybillTemplate>& copies)
    : m_template(copies.first())
    , m_style(formStyleFor(copies.first().company, copies.first().variant))
{
    // The label is as wide as its caption on the output device: measure it, never less than the
    // label's designed 305 x 23 px.
    const QSizeF label = QSizeF(bannerLabelSize()).expandedTo(QSizeF(305, 23));
    for (const WaybillTemplate& copy : copies) {
        m_banner |= QRectF(QPointF(copy.banner), label);
        for (TextSlot& slot : m_template.textSlots)
            for (const TextSlot& other : copy.textSlots)
                if (other.number == slot.number)
                    slot.rect |= other.rect;
    }
}

QRectF FormSheet::pageArea() const
{
    return QRectF(QPointF(0, 0), QSizeF(m_template.band)).adjusted(margin, margin, -margin, -margin);
}

bool FormSheet::isFree(const QRectF& area, bool insideFrame) const
{
    // Print inside the frame keeps clear of its line, as a printed form does.
    const QRectF inside = insideFrame ? pageArea().adjusted(6, 3, -6, -3) : pageArea();
    if (!inside.contains(area) || (insideFrame && area.top() < m_frameTop + 3))
        return false;
    return std::none_of(m_taken.begin(), m_taken.end(), [&](const QRectF& r) { return r.intersects(area); });
}

QRectF FormSheet::bannerArea() const
{
    return m_banner.adjusted(-3, -3, 3, 3);
}

bool FormSheet::placeText(QPainter& painter, const QString& text, const QList<QRectF>& candidates,
                          const QFont& font, Qt::Alignment alignment, int owner, qreal gap)
{
    for (const QRectF& place : candidates) {
        // A label keeps a little air to the boxes and print beside it.
        if (!isFree(place.adjusted(-gap, 0, gap, 0)) || !isFree(place))
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
    m_taken << bannerArea();

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
    m_frameTop = qMax<qreal>(margin, top - 24);
    // The banner is printed just above the first row on some forms: the frame then starts above
    // it and the banner prints on the form's blank top strip instead of across its line.
    const QRectF banner = bannerArea();
    if (banner.bottom() > m_frameTop && banner.top() < top)
        m_frameTop = qMax<qreal>(margin, qMin(m_frameTop, banner.top() - 6));

    drawHeader(painter);
    drawBarcode(painter);
    // The particulars and their blocks first, so that the goods, remarks and date printed
    // round a block keep clear of its frame.
    for (const TextSlot& slot : m_template.textSlots)
        if (isParticular(slot))
            drawField(painter, slot);
    drawBlock(painter, SlotRole::Sender);
    drawBlock(painter, SlotRole::Recipient);
    for (const TextSlot& slot : m_template.textSlots)
        if (!isParticular(slot))
            drawField(painter, slot);
    for (const TextSlot& slot : m_template.textSlots)
        if (isDate(slot))
            drawDateUnit(painter, slot);
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
    // At the left in good size; else right of a banner printed in the top strip; else smaller.
    const qreal left = 16;
    const qreal rightOfBanner = bannerArea().right() + 12;
    const struct {
        qreal x;
        qreal smallest;
    } tries[] = {{left, 20}, {rightOfBanner, 20}, {left, 13}, {rightOfBanner, 13}};
    for (const auto& attempt : tries)
        if (placeHeader(painter, attempt.x, attempt.smallest))
            return;
}

bool FormSheet::placeHeader(QPainter& painter, qreal x, qreal smallest)
{
    // The company's name and the form's title: above the frame where the strip there is high
    // enough, else inside the frame in the free space above the first fields (forms whose
    // destination box reaches up to the top edge). Largest type that fits, topmost.
    const qreal limit = qMin<qreal>(m_template.band.height() / 3.0, 150);
    for (const bool withSubtitle : {true, false})
        for (qreal pixels = 30; pixels >= smallest; pixels -= 1) {
            const QFont title = titleFont(pixels);
            const QFont subtitle = labelFont(qBound<qreal>(10, pixels * 0.58, 17));
            const QSizeF titleSize = textSize(title, m_style.title);
            const QSizeF subtitleSize = textSize(subtitle, m_style.subtitle);
            const qreal mark = qMin<qreal>(titleSize.height() * 0.8, 24);
            const qreal width = mark + 6 + titleSize.width() + (withSubtitle ? 12 + subtitleSize.width() : 0);
            for (qreal y = margin + 2; y + titleSize.height() <= limit; y += 2) {
                const QRectF whole(x, y, width, titleSize.height());
                const bool aboveFrame = whole.bottom() <= m_frameTop - 2;
                const bool insideFrame = whole.top() >= m_frameTop + 4 && whole.left() >= margin + 8;
                // Above the frame the bar code keeps the top right corner.
                if ((!aboveFrame && !insideFrame) || !isFree(whole.adjusted(-2, -2, 8, 2), false)
                    || whole.right() > m_template.band.width() - (aboveFrame ? 250 : 16))
                    continue;
                // A coloured mark before the name, like a company logo.
                const QRectF markRect(whole.left(), whole.center().y() - mark / 2, mark, mark);
                painter.setPen(Qt::NoPen);
                painter.setBrush(m_style.ink);
                painter.drawEllipse(markRect);
                painter.setPen(m_style.paper);
                painter.setFont(labelFont(mark * 0.6, true));
                painter.drawText(markRect, Qt::AlignCenter, m_style.title.left(1));
                const QRectF titleRect(markRect.right() + 6, y, titleSize.width(), titleSize.height());
                painter.setPen(m_style.ink);
                painter.setFont(title);
                painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, m_style.title);
                if (withSubtitle) {
                    const QRectF subtitleRect(titleRect.right() + 12, titleRect.bottom() - subtitleSize.height() - 1,
                                              subtitleSize.width(), subtitleSize.height());
                    painter.setFont(subtitle);
                    painter.drawText(subtitleRect, Qt::AlignLeft | Qt::AlignVCenter, m_style.subtitle);
                }
                m_taken << whole.adjusted(-2, -2, 8, 2);
                return true;
            }
        }
    return false;
}

void FormSheet::drawBarcode(QPainter& painter)
{
    // The waybill number's bar code, top right, where the form leaves room for it.
    QRectF area(m_template.band.width() - 236, margin + 3, 216, 34);
    if (area.bottom() > m_frameTop - 3)
        area.moveTop(m_frameTop + 5); // no room above the frame: inside it, if the corner is free
    if (!isFree(area.adjusted(-4, -2, 4, 4), false))
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
    QStringList labels = isDate(slot) ? QStringList() : fieldLabels(slot.role, slot.column, slot.largeType);
    // A mobile and a telephone box side by side without room between them share one label.
    const auto phonePartner = [&](const TextSlot& mobile) -> const TextSlot* {
        for (const TextSlot& other : m_template.textSlots)
            if (mobile.column == QStringLiteral("手机") && other.column == QStringLiteral("电话")
                && other.role == mobile.role && other.rect.top() == mobile.rect.top()
                && other.rect.left() >= mobile.rect.right() - 2 && other.rect.left() - mobile.rect.right() < 24)
                return &other;
        return nullptr;
    };
    if (slot.column == QStringLiteral("电话")
        && std::any_of(m_template.textSlots.begin(), m_template.textSlots.end(),
                       [&](const TextSlot& mobile) { return phonePartner(mobile) == &slot; }))
        labels.clear();
    const bool sharedPhoneLabel = phonePartner(slot) != nullptr;

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
    if (sharedPhoneLabel) {
        // "手机/电话" on one line left of the mobile box, else on two short lines.
        const QString shared = QStringLiteral("手机/电话");
        for (qreal pixels : {12.5, 11.5, 10.5}) {
            const QFont font = labelFont(pixels);
            const QSizeF size = textSize(font, shared);
            const QRectF place(box.left() - 5 - size.width(), box.center().y() - size.height() / 2, size.width(),
                               size.height());
            if (placeText(painter, shared, {place}, font, Qt::AlignLeft, slot.number, 3))
                return;
        }
        if (placeStacked(painter, shared.split(QLatin1Char('/')), box, slot.number))
            return;
    }
    // Left of the box is where a form prints its labels; above, right or below only for lack
    // of room. The long label first, the short one before giving up a place.
    const qreal firstLine = box.top() + qMin<qreal>(11, box.height() / 2);
    // Origin and destination side by side are both labelled above their boxes.
    const bool cityPair = slot.column == QStringLiteral("城市") && !slot.largeType
        && std::any_of(m_template.textSlots.begin(), m_template.textSlots.end(), [&](const TextSlot& other) {
               return other.column == slot.column && other.role != slot.role && !other.largeType
                   && other.rect.top() == slot.rect.top()
                   && qMin(qAbs(other.rect.left() - slot.rect.right()), qAbs(slot.rect.left() - other.rect.right())) < 40;
           });
    const int order[2][4] = {{0, 1, 2, 3}, {1, 0, 2, 3}};
    for (int where : order[cityPair ? 1 : 0])
        for (const QString& label : labels)
            for (qreal pixels : {12.5, 11.5, 10.5}) {
                const QFont font = labelFont(pixels);
                const QSizeF size = textSize(font, label);
                const QRectF places[] = {
                    QRectF(box.left() - 5 - size.width(), firstLine - size.height() / 2, size.width(), size.height()),
                    QRectF(box.left(), box.top() - size.height() - 2, size.width(), size.height()),
                    QRectF(box.right() + 5, firstLine - size.height() / 2, size.width(), size.height()),
                    QRectF(box.left(), box.bottom() + 3, size.width(), size.height())};
                if (placeText(painter, label, {places[where]}, font, Qt::AlignLeft, slot.number, 3))
                    return;
                // Before a label goes right of or below its box: upright in a narrow gap on its left.
                if (where == 1 && pixels == 10.5 && label == labels.last()) {
                    if (placeStacked(painter, label.split(QString(), Qt::SkipEmptyParts), box, slot.number))
                        return;
                }
            }
    m_unlabelled << QStringLiteral("%1 %2").arg(slot.number).arg(labels.first());
}

bool FormSheet::placeStacked(QPainter& painter, const QStringList& lines, const QRectF& box, int owner)
{
    for (qreal pixels : {11.0, 10.0}) {
        const QFont font = labelFont(pixels);
        const qreal step = pixels + 0.5;
        qreal width = 0;
        for (const QString& line : lines)
            width = qMax(width, pixels * line.size());
        const QSizeF size(width, step * lines.size());
        if (size.height() > box.height() + 2)
            continue;
        const QRectF place(box.left() - 2.5 - size.width(), box.center().y() - size.height() / 2, size.width(),
                           size.height());
        if (!isFree(place.adjusted(-1, 0, 1, 0)))
            continue;
        painter.setFont(font);
        painter.setPen(m_style.ink);
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QRectF(place.left(), place.top() + i * step, place.width(), step), Qt::AlignCenter,
                             lines.at(i));
        m_taken << place;
        m_labels << PlacedLabel{place, owner};
        return true;
    }
    return false;
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
    // A narrow gap to the next box (the screen's boxes cover the picture): the unit condensed
    // into the gap, as forms print a character where room is short.
    {
        const QFont font = labelFont(11);
        const QSizeF size = textSize(font, slot.column);
        for (qreal width = size.width() - 1; width >= 5; width -= 0.5) {
            const QRectF gap(box.right() + 0.6, box.center().y() - size.height() / 2, width, size.height());
            if (!isFree(gap))
                continue;
            painter.save();
            painter.setFont(font);
            painter.setPen(m_style.ink);
            painter.translate(gap.left(), gap.top());
            painter.scale(width / size.width(), 1);
            painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter, slot.column);
            painter.restore();
            m_taken << gap;
            m_labels << PlacedLabel{gap, slot.number};
            return;
        }
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
    // A banner printed across the block's top line: the block reaches up round it, so the banner
    // prints on the block's blank top strip. Any other crossing leaves the block without a frame.
    const QRectF banner = bannerArea();
    if (banner.intersects(block) && banner.top() < block.top() && banner.left() > block.left() - 20
        && banner.right() < block.right())
        block.setTop(banner.top());
    // Neither the frame nor its side strip may cross the banner.
    const auto clearOfBanner = [&](const QRectF& frame) { return !banner.intersects(frame) || frame.contains(banner); };

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
    if (clear(withStrip) && clearOfBanner(withStrip)) {
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
        m_taken << withStrip.adjusted(-2, -2, 2, 2);
        return;
    }
    if (!clear(block) || !clearOfBanner(block))
        return;
    // No room at the side: the name goes on a tab above the block's corner.
    const QFont font = labelFont(11, true);
    const QSizeF size = textSize(font, title) + QSizeF(10, 2);
    const QRectF tab(block.left() + 8, block.top() - size.height(), size.width(), size.height());
    painter.setPen(QPen(m_style.ink, 1.1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(block, 4, 4);
    // No room above either: a shaded tab inside the block's top left corner, where it is blank.
    const QRectF innerTab(block.left() + 1, block.top() + 1, size.width(), size.height());
    for (const QRectF& place : {tab, innerTab}) {
        if (!clear(place) || !isFree(place))
            continue;
        painter.setBrush(band);
        painter.drawRect(place);
        painter.setFont(font);
        painter.drawText(place, Qt::AlignCenter, title);
        m_taken << place;
        break;
    }
    m_taken << block.adjusted(-2, -2, 2, 2);
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
