#include "output/PrintingSystem.h"

#include "output/QtPrintingSystem.h"

namespace corvane {

PrintingSystem& PrintingSystem::builtIn()
{
    static QtPrintingSystem real;
    return real;
}

}
