#include "testsupport/AddressBookRows.h"

#include "addressbook/Connection.h"
#include "addressbook/List.h"

namespace corvane::test {

void appendAddressRows(Connection& connection, const QString& table, const QList<AddressRow>& rows)
{
    List list(&connection);
    list.setSQL(QStringLiteral("select * from ") + table);
    list.Open();
    for (const AddressRow& row : rows) {
        list.Append();
        for (auto it = row.begin(); it != row.end(); ++it)
            list.FieldByName(it.key()).setAsString(it.value());
        list.Post();
    }
}

}
