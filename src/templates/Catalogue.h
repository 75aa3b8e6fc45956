#pragma once
// The template catalogue: 33 waybill templates with 597 text slots, one copy per print window.
#include "templates/BannerLabel.h"
#include "core/PageUnits.h"
#include "templates/PrintWindowKind.h"
#include "templates/SlotRole.h"
#include "templates/SlotRows.h"
#include "templates/TemplateFilling.h"
#include "templates/TextSlot.h"
#include "templates/WaybillTemplate.h"

#include <QColor>
#include <QFont>
#include <QList>

namespace corvane {

class Catalogue {
public:
    static constexpr int templateCount = 33;
    static constexpr int slotCount = 597;

    // A fresh copy with the built-in type and positions, and the window's own differences.
    explicit Catalogue(PrintWindowKind window);

    PrintWindowKind window() const { return m_window; }

    // Templates 1..33 in order; a number outside them throws corvane::Error.
    const QList<WaybillTemplate>& templates() const { return m_templates; }
    const WaybillTemplate& waybillTemplate(int number) const;
    WaybillTemplate& waybillTemplate(int number);

    // Slots 1..597, wherever they lie; a number outside them throws corvane::Error.
    const TextSlot& slot(int slotNumber) const;
    TextSlot& slot(int slotNumber);
    int templateOfSlot(int slotNumber) const;

    // Moves every banner label, view box and print box of all templates (pictures,
    // pages and bands stay). No bounds: items may leave the page.
    void moveAll(int dx, int dy);
    // Gives every slot that is not a large-type slot this type, print and view box alike.
    void setOrdinaryType(const QFont& font, const QColor& colour);

private:
    struct SlotPlace {
        int templateIndex = -1;
        int slotIndex = -1;
    };

    PrintWindowKind m_window;
    QList<WaybillTemplate> m_templates;
    QList<SlotPlace> m_slotPlaces; // index: slot number
};

}
