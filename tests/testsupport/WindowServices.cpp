#include "outputwindows/WidgetReportWindows.h"

#include <QCoreApplication>

namespace {

// Every test runs with the window services the program sets up at start-up; tests answer
// them by installing their doubles over them.
void useProgramWindowServices()
{
    corvane::useWindowServices();
}

}

Q_COREAPP_STARTUP_FUNCTION(useProgramWindowServices)
