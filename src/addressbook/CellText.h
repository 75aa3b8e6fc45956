#pragma once
#include <QString>

namespace corvane {

// A numeric cell as a clerk sees it in the sheet: whole numbers without a decimal point or an
// exponent (a mobile number stored as a number reads "13800138000"), fractions with the digits
// a spreadsheet keeps (15 significant), never "1.38e+10".
QString numberCellText(double value);

}

namespace corvane {

// A spreadsheet serial date as text: "2024-05-09", "2024-05-09 13:30:00" or "13:30:00".
QString dateCellText(double serial, bool date1904 = false);

// Whether a number format code shows a date or a time ("yyyy-mm-dd", "h:mm", not "0.00").
bool isDateFormatCode(const QString& code);
bool isBuiltInDateFormat(int numberFormatId);

}
