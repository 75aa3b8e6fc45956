#pragma once
#include <QDate>

namespace corvane {

// Today's date for the whole program; tests set a fixed day.
class Clock {
public:
    static QDate today();
    static void setFixedToday(const QDate& day);   // an invalid date returns to the system clock
};

}
