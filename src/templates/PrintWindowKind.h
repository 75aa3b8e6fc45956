#pragma once
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace corvane {

// The four print windows; each holds its own copy of the template catalogue.
enum class PrintWindowKind { Dd, Edd, Pd, Ped };

inline constexpr std::array<PrintWindowKind, 4> allPrintWindowKinds{
    PrintWindowKind::Dd, PrintWindowKind::Edd, PrintWindowKind::Pd, PrintWindowKind::Ped};

// "dd", "edd", "pd", "ped" (the command-line names).
QString printWindowKindName(PrintWindowKind kind);
std::optional<PrintWindowKind> parsePrintWindowKind(QStringView name);
// "TDdForm", "TEddForm", "TPdForm", "TPedForm".
QString printWindowClassName(PrintWindowKind kind);

}
