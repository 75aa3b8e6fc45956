#include "templates/PrintWindowKind.h"

namespace corvane {

namespace {
struct KindNames {
    PrintWindowKind kind;
    const char* name;
    const char* className;
};
constexpr KindNames kindNames[] = {
    {PrintWindowKind::Dd, "dd", "TDdForm"},
    {PrintWindowKind::Edd, "edd", "TEddForm"},
    {PrintWindowKind::Pd, "pd", "TPdForm"},
    {PrintWindowKind::Ped, "ped", "TPedForm"},
};
}

QString printWindowKindName(PrintWindowKind kind)
{
    return QString::fromLatin1(kindNames[static_cast<int>(kind)].name);
}

QString printWindowClassName(PrintWindowKind kind)
{
    return QString::fromLatin1(kindNames[static_cast<int>(kind)].className);
}

std::optional<PrintWindowKind> parsePrintWindowKind(QStringView name)
{
    for (const auto& entry : kindNames)
        if (name == QLatin1String(entry.name))
            return entry.kind;
    return std::nullopt;
}

}
