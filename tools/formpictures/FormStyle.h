#pragma once
#include "templates/SlotRole.h"

#include <QColor>
#include <QString>
#include <QStringList>

// How a company's pre-printed form looks: ink colour, paper tint and printed titles.
struct FormStyle {
    QColor ink;
    QColor paper;
    QString title;    // the company's name as the form's header
    QString subtitle; // the kind of form
    QString footer;   // the small print along the bottom edge
};

FormStyle formStyleFor(const QString& company, const QString& variant);

// The printed labels of a field, longest first: 寄件人姓名 / 姓名, 详细地址 / 地址, ...
// A form prints the longest one its layout has room for.
QStringList fieldLabels(corvane::SlotRole role, const QString& column, bool largeType);
