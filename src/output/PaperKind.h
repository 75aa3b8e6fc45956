#pragma once

namespace corvane {

// Paper kinds by the printing system's numeric codes (the Windows DMPAPER codes, which
// QPageSize::windowsId() also gives): 0 when no kind matches.
namespace PaperKind {
constexpr int None = 0;
constexpr int Letter = 1;
constexpr int A4 = 9;
constexpr int UserDefined = 256;
}

// A4 in tenths of a millimetre: the paper when no printer is installed.
constexpr double a4WidthTenths = 2100;
constexpr double a4LengthTenths = 2970;

}
