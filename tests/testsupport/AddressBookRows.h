#pragma once
#include <QHash>
#include <QList>
#include <QString>

namespace corvane {
class Connection;
}

namespace corvane::test {

// One row of an address book table: column name to text.
using AddressRow = QHash<QString, QString>;

// Appends `rows` to `table` (outr, inr, excel) of an open address book.
void appendAddressRows(Connection& connection, const QString& table, const QList<AddressRow>& rows);

}
