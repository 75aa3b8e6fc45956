#pragma once
#include "addressbook/WorkbookReader.h"

#include <QTemporaryFile>
#include <QVector>
#include <memory>

class QXmlStreamReader;
class QuaZip;
class QuaZipFile;

namespace corvane {

// One sheet of an .xlsx workbook: the sheet's XML is read as a stream straight out of the zip,
// row by row. Any cell may refer to any shared string, so the shared-string table is unpacked
// into a temporary file that is mapped into memory; only its offsets (8 bytes a string) are
// held, so memory hardly grows with the number of rows.
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
    QString sharedString(qsizetype index) const;

    QTemporaryFile m_stringStore;       // the shared strings, UTF-8, one after another
    QVector<qint64> m_stringOffsets;    // where each starts; one more for the end
    const uchar* m_strings = nullptr;
    QVector<bool> m_dateStyles;     // per cell style: a number shown as a date
    bool m_date1904 = false;
    bool m_finished = false;
};

}
