#pragma once
#include <QString>
#include <functional>

namespace corvane {

// The two rows a template is filled from, read by column name. An absent row, column or
// null value reads as the empty string.
struct SlotRows {
    std::function<QString(const QString& column)> sender;
    std::function<QString(const QString& column)> recipient;
};

}
