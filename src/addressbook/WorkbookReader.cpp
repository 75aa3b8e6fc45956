#include "addressbook/WorkbookReader.h"
#include "addressbook/CsvReader.h"
#include "addressbook/XlsSheetReader.h"
#include "addressbook/XlsxSheetReader.h"
#include "core/Error.h"

#include <QFile>
#include <QFileInfo>

namespace corvane {

WorkbookFormat sniffWorkbookFormat(const QString& fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法打开文件“%1”：%2").arg(fileName,
                    QFileInfo::exists(fileName) ? file.errorString() : QStringLiteral("文件不存在")));
    const QByteArray head = file.read(8);
    static const QByteArray ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (head == ole2)
        return WorkbookFormat::Xls;
    if (head.startsWith(QByteArray("PK\x03\x04", 4)))
        return WorkbookFormat::Xlsx;
    return WorkbookFormat::Csv;
}

std::unique_ptr<WorkbookReader> openImportSheet(const QString& fileName)
{
    switch (sniffWorkbookFormat(fileName)) {
    case WorkbookFormat::Xls:
        return std::make_unique<XlsSheetReader>(fileName, importSheetName());
    case WorkbookFormat::Xlsx:
        return std::make_unique<XlsxSheetReader>(fileName, importSheetName());
    case WorkbookFormat::Csv:
        return std::make_unique<CsvReader>(fileName);
    }
    return nullptr;
}

}
