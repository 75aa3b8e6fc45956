#include "templates/Catalogue.h"

#include "core/Error.h"
#include "templates/CatalogueData.h"

#include <algorithm>

namespace corvane {

using namespace catalogue_data;

namespace {

constexpr int ordinaryPixelSize = 15;

QString pictureResourceFor(int templateNumber, QSize pixels)
{
    return QStringLiteral(":/forms/form%1_%2x%3.jpg")
        .arg(templateNumber, 2, 10, QLatin1Char('0'))
        .arg(pixels.width())
        .arg(pixels.height());
}

bool isViewItem(Item item) { return item == Item::ViewX || item == Item::ViewY || item == Item::ViewWidth; }

void applyToSlot(TextSlot& slot, Item item, int value)
{
    // The view box shares the slot's place, so it moves and resizes with it.
    switch (item) {
    case Item::SlotX: slot.rect.moveLeft(value); slot.viewRect.moveLeft(value); break;
    case Item::SlotY: slot.rect.moveTop(value); slot.viewRect.moveTop(value); break;
    case Item::SlotWidth: slot.rect.setWidth(value); slot.viewRect.setWidth(value); break;
    case Item::SlotHeight: slot.rect.setHeight(value); slot.viewRect.setHeight(value); break;
    case Item::SlotRegular: slot.font.setBold(false); break;
    case Item::ViewX: slot.viewRect.moveLeft(value); break;
    case Item::ViewY: slot.viewRect.moveTop(value); break;
    case Item::ViewWidth: slot.viewRect.setWidth(value); break;
    default: break;
    }
}

void applyToTemplate(WaybillTemplate& t, Item item, double value)
{
    const int pixels = static_cast<int>(value);
    switch (item) {
    case Item::BandHeight: t.band.setHeight(pixels); break;
    case Item::PageLength: t.pageLength = value; break;
    case Item::PictureY: t.pictureRect.moveTop(pixels); break;
    case Item::PictureHeight: t.pictureRect.setHeight(pixels); break;
    case Item::PicturePixelWidth: t.pictureSize.setWidth(pixels); break;
    case Item::PicturePixelHeight: t.pictureSize.setHeight(pixels); break;
    case Item::ScreenOffset: t.screenOffset = pixels; break;
    case Item::BannerX: t.banner.setX(pixels); break;
    case Item::BannerY: t.banner.setY(pixels); break;
    default: break;
    }
}

bool isSlotItem(Item item) { return item <= Item::ViewWidth; }

}

Catalogue::Catalogue(PrintWindowKind window)
    : m_window(window)
{
    for (const TemplateRow& row : templateRows()) {
        WaybillTemplate t;
        t.number = row.number;
        t.company = QString::fromUtf8(row.company);
        t.variant = QString::fromUtf8(row.variant);
        t.caption = QString::fromUtf8(row.caption);
        t.pageWidth = row.pageWidth;
        t.pageLength = row.pageLength;
        t.band = QSize(row.bandWidth, row.bandHeight);
        t.screenOffset = row.screenOffset;
        t.pictureRect = QRect(row.pictureX, row.pictureY, row.pictureWidth, row.pictureHeight);
        t.pictureSize = QSize(row.picturePixelWidth, row.picturePixelHeight);
        t.banner = QPoint(row.bannerX, row.bannerY);
        m_templates.append(t);
    }

    for (const SlotRow& row : slotRows()) {
        TextSlot slot;
        slot.number = row.number;
        slot.templateNumber = row.templateNumber;
        slot.role = row.role == 'S' ? SlotRole::Sender : SlotRole::Recipient;
        slot.column = QString::fromUtf8(row.column);
        slot.rect = QRect(row.x, row.y, row.width, row.height);
        slot.viewRect = slot.rect;
        slot.font = slotFont(row.fontPixelSize, true);
        slot.largeType = row.fontPixelSize != ordinaryPixelSize;
        m_templates[row.templateNumber - 1].textSlots.append(slot);
    }

    m_slotPlaces.resize(slotCount + 1);
    for (int ti = 0; ti < m_templates.size(); ++ti) {
        auto& list = m_templates[ti].textSlots;
        std::sort(list.begin(), list.end(),
                  [](const TextSlot& a, const TextSlot& b) { return a.number < b.number; });
        for (int si = 0; si < list.size(); ++si)
            m_slotPlaces[list[si].number] = {ti, si};
    }

    // Slot changes first, then the view boxes that differ from their (changed) slot.
    const unsigned bit = windowBit(window);
    for (bool viewPass : {false, true}) {
        for (const Difference& d : differences()) {
            if (!(d.windows & bit) || isViewItem(d.item) != viewPass)
                continue;
            for (int n = d.first; n <= d.last; ++n) {
                if (isSlotItem(d.item))
                    applyToSlot(slot(n), d.item, static_cast<int>(d.value));
                else
                    applyToTemplate(waybillTemplate(n), d.item, d.value);
            }
        }
    }

    for (WaybillTemplate& t : m_templates)
        t.pictureResource = pictureResourceFor(t.number, t.pictureSize);
}

namespace {

void checkTemplateNumber(int number)
{
    if (number < 1 || number > Catalogue::templateCount)
        throw Error(QStringLiteral("模板号 %1 不存在（应为 1 到 %2）").arg(number).arg(Catalogue::templateCount));
}

void checkSlotNumber(int slotNumber)
{
    if (slotNumber < 1 || slotNumber > Catalogue::slotCount)
        throw Error(QStringLiteral("文本框号 %1 不存在（应为 1 到 %2）").arg(slotNumber).arg(Catalogue::slotCount));
}

}

const WaybillTemplate& Catalogue::waybillTemplate(int number) const
{
    checkTemplateNumber(number);
    return m_templates[number - 1];
}

WaybillTemplate& Catalogue::waybillTemplate(int number)
{
    checkTemplateNumber(number);
    return m_templates[number - 1];
}

const TextSlot& Catalogue::slot(int slotNumber) const
{
    checkSlotNumber(slotNumber);
    const SlotPlace place = m_slotPlaces[slotNumber];
    return m_templates[place.templateIndex].textSlots[place.slotIndex];
}

TextSlot& Catalogue::slot(int slotNumber)
{
    checkSlotNumber(slotNumber);
    const SlotPlace place = m_slotPlaces[slotNumber];
    return m_templates[place.templateIndex].textSlots[place.slotIndex];
}

int Catalogue::templateOfSlot(int slotNumber) const { return slot(slotNumber).templateNumber; }

void Catalogue::moveAll(int dx, int dy)
{
    for (WaybillTemplate& t : m_templates) {
        t.banner += QPoint(dx, dy);
        for (TextSlot& s : t.textSlots) {
            s.rect.translate(dx, dy);
            s.viewRect.translate(dx, dy);
        }
    }
}

void Catalogue::setOrdinaryType(const QFont& font, const QColor& colour)
{
    for (WaybillTemplate& t : m_templates)
        for (TextSlot& s : t.textSlots)
            if (!s.largeType) {
                s.font = font;
                s.colour = colour;
            }
}

}
