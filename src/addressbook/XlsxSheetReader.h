#pragma once
#include "addressbook/WorkbookReader.h"

#include <QVector>
#include <memory>

class QXmlStreamReader;
class QuaZip;
class QuaZipFile;

namespace corvane {

// One sheet of an .xlsx workbook: the sheet's XML is read as a stream straight out of the zip,
// row by row, so memory does not grow with the number of rows. The shared-string table is kept
// whole, because any cell may refer to any string.
class XlsxSheetReader : public WorkbookReader {
public:
    // Throws corvane::Error when the file is no .xlsx workbook or has no sheet of that name.
    XlsxSheetReader(const QString& fileName, const QString& sheetName);
    ~XlsxSheetReader() override;
    bool readRow(QStringList& cells) override;

private:
    [[noreturn]] void fail(const QString& cause) const;
    QByteArray readPart(const QString& part, bool required);
    void readSharedStrings(const QString& part);
    QString readCell(QString* reference);

    QString m_fileName;
    std::unique_ptr<QuaZip> m_zip;
    std::unique_ptr<QuaZipFile> m_sheet;
    std::unique_ptr<QXmlStreamReader> m_xml;
    QVector<QString> m_sharedStrings;
    QVector<bool> m_dateStyles;     // per cell style: a number shown as a date
    bool m_date1904 = false;
    bool m_finished = false;
};

}
