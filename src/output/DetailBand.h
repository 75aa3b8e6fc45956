#pragma once
#include "output/BandElement.h"

#include <QColor>
#include <QList>
#include <QString>
#include <functional>

namespace corvane {

// The detail band (QRBandN): laid out once, or once per row of the report page's data set.
class DetailBand {
public:
    // Called just before each layout of the band; may clear the print flag to skip the band.
    using BeforePrintHandler = std::function<void(DetailBand& band, bool& printBand)>;

    QString name;                 // "QRBand1"
    double Width = 0;             // tenths of a millimetre
    double Height = 0;
    QColor Color = Qt::white;
    bool TransparentBand = false;
    bool Enabled = true;
    BeforePrintHandler BeforePrint;

    // Printable children in the band's order of children.
    QList<BandElement> elements;

    BandElement* element(const QString& elementName)
    {
        for (BandElement& e : elements)
            if (e.name == elementName)
                return &e;
        return nullptr;
    }
};

}
