#pragma once
#include "addressbook/WorkbookReader.h"

#include <QFile>
#include <QStringDecoder>

namespace corvane {

// A comma-separated file with RFC 4180 quoting (quotes, commas and line breaks inside quoted
// cells). Its encoding is UTF-8 when the whole file is valid UTF-8 (with or without a byte-order
// mark), else GB18030, which covers GBK as Windows spreadsheets save it. Read as a stream.
class CsvReader : public WorkbookReader {
public:
    enum class Encoding { Utf8, Gb18030 };

    // Throws corvane::Error when the file cannot be read or holds binary data.
    explicit CsvReader(const QString& fileName);
    bool readRow(QStringList& cells) override;
    Encoding encoding() const { return m_encoding; }

    // Strict check of a whole file; false for any invalid or incomplete sequence.
    static bool isUtf8File(QFile& file);

private:
    bool fill();   // more decoded text; false at the end of the file

    QString m_fileName;
    QFile m_file;
    Encoding m_encoding = Encoding::Utf8;
    QStringDecoder m_decoder;
    QString m_text;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_first = true;
};

}
