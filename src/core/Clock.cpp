#include "core/Clock.h"

namespace corvane {

namespace {
QDate fixedToday;
}

QDate Clock::today()
{
    return fixedToday.isValid() ? fixedToday : QDate::currentDate();
}

void Clock::setFixedToday(const QDate& day)
{
    fixedToday = day;
}

}
