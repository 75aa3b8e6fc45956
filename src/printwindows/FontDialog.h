#pragma once
#include <QColor>
#include <QFont>

class QWidget;

namespace corvane {

// FontDialog1: asks for a type (face, size, style, colour, character set) starting from the
// given one; false when the user cancels. Tests install their own.
class FontChooser {
public:
    virtual ~FontChooser() = default;
    virtual bool choose(QWidget* parent, QFont& font, QColor& colour) = 0;
};

// The system font dialog, with a colour choice added below the sample.
class SystemFontChooser : public FontChooser {
public:
    bool choose(QWidget* parent, QFont& font, QColor& colour) override;
};

}
