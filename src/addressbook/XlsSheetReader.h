#pragma once
#include "addressbook/WorkbookReader.h"

namespace corvane {

// One sheet of a BIFF5 or BIFF8 .xls workbook, through libfreexl. BIFF5 text arrives decoded by
// the workbook's code page (936 is GBK). libfreexl reads the whole workbook when it opens it.
class XlsSheetReader : public WorkbookReader {
public:
    // Throws corvane::Error when the file is no readable workbook or has no sheet of that name.
    XlsSheetReader(const QString& fileName, const QString& sheetName);
    ~XlsSheetReader() override;
    bool readRow(QStringList& cells) override;

private:
    QString m_fileName;
    const void* m_handle = nullptr;
    unsigned int m_rows = 0;
    unsigned short m_columns = 0;
    unsigned int m_next = 0;
};

}
