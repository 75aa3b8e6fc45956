#pragma once
#include <QString>

namespace corvane {

// Reads a typed move amount as the program's standard whole-number conversion does: leading
// blanks, one optional sign, then decimal digits, or hexadecimal digits after "$", "x" or "0x";
// nothing may follow the digits. Decimal values must fit a signed 32-bit number; hexadecimal
// ones may use all 32 bits (so "$FFFFFFFF" is -1).
// Throws corvane::Error "'<text>' is not a valid integer value" when the text does not convert.
int convertMoveAmount(const QString& text);

// The same conversion without the exception.
bool tryConvertMoveAmount(const QString& text, int* value);

}
