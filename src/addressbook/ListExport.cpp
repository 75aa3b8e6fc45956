#include "addressbook/ListExport.h"
#include "addressbook/List.h"
#include "addressbook/XlsWriter.h"

namespace corvane {

void exportListToXls(List& list, const QString& fileName)
{
    const int rows = list.RecordCount();
    XlsWriter::save(fileName, list.Fields(), rows, [&list](int row, int column) { return list.value(row, column); });
    if (rows > 0)
        list.setRecNo(rows - 1);
}

}
