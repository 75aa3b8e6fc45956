#include "output/PrintingSystem.h"

#include "output/QtPrintingSystem.h"

namespace corvane {

namespace {
PrintingSystem* installedSystem = nullptr;
}

PrintingSystem& PrintingSystem::current()
{
    static QtPrintingSystem real;
    return installedSystem ? *installedSystem : real;
}

void PrintingSystem::install(PrintingSystem* system)
{
    installedSystem = system;
}

}
