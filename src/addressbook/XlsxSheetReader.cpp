#include "addressbook/XlsxSheetReader.h"
#include "addressbook/CellText.h"
#include "core/Error.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <quazip.h>
#include <quazipfile.h>

namespace corvane {

namespace {

constexpr qint64 MaxSmallPart = 64 * 1024 * 1024;   // workbook, relationships, styles

// A reader fed from a device treats missing data as "more may come" and never reaches its end,
// so damaged or cut-off input must stop the loops through its error.
bool more(const QXmlStreamReader& xml)
{
    return !xml.atEnd() && !xml.hasError();
}

// "xl/" + "worksheets/sheet1.xml", or an absolute target, with "../" resolved.
QString resolvePart(const QString& sourceFolder, const QString& target)
{
    QString path = target.startsWith(QLatin1Char('/')) ? target.mid(1) : sourceFolder + target;
    QStringList parts;
    for (const QString& p : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1String(".."))
            parts.removeLast();
        else if (p != QLatin1String("."))
            parts << p;
    }
    return parts.join(QLatin1Char('/'));
}

QString folderOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString relationshipsOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return folderOf(part) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

// Id -> (type, target) of a relationships part.
QHash<QString, QPair<QString, QString>> readRelationships(const QByteArray& xmlText)
{
    QHash<QString, QPair<QString, QString>> result;
    QXmlStreamReader xml(xmlText);
    while (more(xml)) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const auto a = xml.attributes();
            result.insert(a.value(QLatin1String("Id")).toString(),
                          {a.value(QLatin1String("Type")).toString(), a.value(QLatin1String("Target")).toString()});
        }
    }
    return result;
}

// Spreadsheet strings escape control characters as _xHHHH_ (a line break may arrive as _x000D_).
QString unescapeXString(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    auto it = escape.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

// "BC12" -> 54 (0-based column), -1 when there is no column.
int columnOfReference(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i) {
        column = column * 26 + (reference[i].toUpper().unicode() - 'A' + 1);
        if (column > 16384)
            return -1;
    }
    return i == 0 ? -1 : column - 1;
}

// The text of <si> or <is>: plain <t> or the runs' <t>, without phonetic guides.
QString readRichText(QXmlStreamReader& xml)
{
    QString text;
    const QString end = xml.name().toString();
    int phonetic = 0;
    while (more(xml)) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && !phonetic)
                text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return unescapeXString(text);
}

}

XlsxSheetReader::XlsxSheetReader(const QString& fileName, const QString& sheetName) : m_fileName(fileName)
{
    m_zip = std::make_unique<QuaZip>(fileName);
    if (!m_zip->open(QuaZip::mdUnzip))
        fail(QStringLiteral("不是完整的Excel 2007工作簿（zip 文件已损坏）"));

    // The workbook part, from the package relationships.
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    const auto packageRels = readRelationships(readPart(QStringLiteral("_rels/.rels"), false));
    for (const auto& rel : packageRels) {
        if (rel.first.endsWith(QLatin1String("/officeDocument")))
            workbookPart = resolvePart(QString(), rel.second);
    }
    const QByteArray workbook = readPart(workbookPart, true);
    const auto workbookRels = readRelationships(readPart(relationshipsOf(workbookPart), true));

    QString sheetId;
    bool date1904 = false;
    {
        QXmlStreamReader xml(workbook);
        while (more(xml)) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("workbookPr")) {
                const auto v = a.value(QLatin1String("date1904"));
                date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet") && sheetId.isEmpty()
                       && a.value(QLatin1String("name")).compare(sheetName, Qt::CaseInsensitive) == 0) {
                for (const auto& attribute : a) {
                    if (attribute.name() == QLatin1String("id"))   // r:id, whatever the prefix
                        sheetId = attribute.value().toString();
                }
            }
        }
        if (xml.hasError())
            fail(QStringLiteral("工作簿目录已损坏（%1）").arg(xml.errorString()));
    }
    if (sheetId.isEmpty() || !workbookRels.contains(sheetId))
        fail(QStringLiteral("没有名为“%1”的工作表").arg(sheetName));
    const QString sheetPart = resolvePart(folderOf(workbookPart), workbookRels.value(sheetId).second);

    QString stylesPart;
    for (const auto& rel : workbookRels) {
        if (rel.first.endsWith(QLatin1String("/sharedStrings")))
            readSharedStrings(resolvePart(folderOf(workbookPart), rel.second));
        else if (rel.first.endsWith(QLatin1String("/styles")))
            stylesPart = resolvePart(folderOf(workbookPart), rel.second);
    }
    if (!stylesPart.isEmpty()) {
        // Which cell styles show numbers as dates, so a date reads as a date and not a serial number.
        QHash<int, QString> customFormats;
        QXmlStreamReader xml(readPart(stylesPart, false));
        bool inCellXfs = false;
        while (more(xml)) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto a = xml.attributes();
                if (xml.name() == QLatin1String("numFmt"))
                    customFormats.insert(a.value(QLatin1String("numFmtId")).toInt(),
                                         a.value(QLatin1String("formatCode")).toString());
                else if (xml.name() == QLatin1String("cellXfs"))
                    inCellXfs = true;
                else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                    const int id = a.value(QLatin1String("numFmtId")).toInt();
                    m_dateStyles << (customFormats.contains(id) ? isDateFormatCode(customFormats.value(id))
                                                                : isBuiltInDateFormat(id));
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = false;
            }
        }
    }
    m_date1904 = date1904;

    if (!m_zip->setCurrentFile(sheetPart, QuaZip::csInsensitive))
        fail(QStringLiteral("工作表“%1”缺失").arg(sheetName));
    m_sheet = std::make_unique<QuaZipFile>(m_zip.get());
    if (!m_sheet->open(QIODevice::ReadOnly))
        fail(QStringLiteral("工作表“%1”无法解压").arg(sheetName));
    m_xml = std::make_unique<QXmlStreamReader>(m_sheet.get());
}

XlsxSheetReader::~XlsxSheetReader()
{
    m_xml.reset();
    if (m_sheet)
        m_sheet->close();
    m_sheet.reset();
    if (m_zip)
        m_zip->close();
}

void XlsxSheetReader::fail(const QString& cause) const
{
    throw Error(QStringLiteral("无法读取“%1”：%2").arg(m_fileName, cause));
}

QByteArray XlsxSheetReader::readPart(const QString& part, bool required)
{
    if (!m_zip->setCurrentFile(part, QuaZip::csInsensitive)) {
        if (required)
            fail(QStringLiteral("不是Excel 2007工作簿（缺少 %1）").arg(part));
        return QByteArray();
    }
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("%1 无法解压").arg(part));
    if (file.usize() > MaxSmallPart)
        fail(QStringLiteral("%1 过大").arg(part));
    const QByteArray data = file.readAll();
    const bool damaged = file.getZipError() != UNZ_OK;
    file.close();
    if (damaged || file.getZipError() != UNZ_OK)
        fail(QStringLiteral("%1 已损坏").arg(part));
    return data;
}

void XlsxSheetReader::readSharedStrings(const QString& part)
{
    if (!m_zip->setCurrentFile(part, QuaZip::csInsensitive))
        return;
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("%1 无法解压").arg(part));
    if (!m_stringStore.open())
        fail(QStringLiteral("无法创建临时文件：%1").arg(m_stringStore.errorString()));
    QXmlStreamReader xml(&file);
    qint64 end = 0;
    while (more(xml)) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            const QByteArray text = readRichText(xml).toUtf8();
            m_stringOffsets << end;
            if (m_stringStore.write(text) != text.size())
                fail(QStringLiteral("无法写入临时文件：%1").arg(m_stringStore.errorString()));
            end += text.size();
        }
    }
    m_stringOffsets << end;
    const bool damaged = xml.hasError() || file.getZipError() != UNZ_OK;
    file.close();
    if (damaged || file.getZipError() != UNZ_OK)
        fail(QStringLiteral("共享字符串表已损坏"));
    if (!m_stringStore.flush())
        fail(QStringLiteral("无法写入临时文件：%1").arg(m_stringStore.errorString()));
    if (end > 0 && !(m_strings = m_stringStore.map(0, end)))
        fail(QStringLiteral("无法读取临时文件：%1").arg(m_stringStore.errorString()));
}

QString XlsxSheetReader::sharedString(qsizetype index) const
{
    const qint64 from = m_stringOffsets[index];
    const qint64 size = m_stringOffsets[index + 1] - from;
    return size ? QString::fromUtf8(reinterpret_cast<const char*>(m_strings + from), size) : QString();
}

// Reads one <c> element; the reader stands on its start.
QString XlsxSheetReader::readCell(QString* reference)
{
    const auto a = m_xml->attributes();
    *reference = a.value(QLatin1String("r")).toString();
    const QString type = a.value(QLatin1String("t")).toString();
    const int style = a.value(QLatin1String("s")).toInt();
    QString value;
    QString inlineText;
    bool hasInline = false;
    while (more(*m_xml)) {
        m_xml->readNext();
        if (m_xml->isStartElement()) {
            if (m_xml->name() == QLatin1String("v")) {
                value = m_xml->readElementText();
            } else if (m_xml->name() == QLatin1String("is")) {
                inlineText = readRichText(*m_xml);
                hasInline = true;
            } else {
                m_xml->skipCurrentElement();   // <f> and extensions
            }
        } else if (m_xml->isEndElement() && m_xml->name() == QLatin1String("c")) {
            break;
        }
    }
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int index = value.toInt(&ok);
        if (!ok || index < 0 || index + 1 >= m_stringOffsets.size())
            fail(QStringLiteral("单元格 %1 引用了不存在的字符串").arg(*reference));
        return sharedString(index);
    }
    if (type == QLatin1String("inlineStr"))
        return hasInline ? inlineText : unescapeXString(value);
    if (type == QLatin1String("str") || type == QLatin1String("e") || type == QLatin1String("d"))
        return unescapeXString(value);
    if (type == QLatin1String("b"))
        return value == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (value.isEmpty())
        return QString();
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value;
    if (style >= 0 && style < m_dateStyles.size() && m_dateStyles[style])
        return dateCellText(number, m_date1904);
    return numberCellText(number);
}

bool XlsxSheetReader::readRow(QStringList& cells)
{
    cells.clear();
    if (m_finished)
        return false;
    while (more(*m_xml)) {
        m_xml->readNext();
        if (m_xml->isStartElement() && m_xml->name() == QLatin1String("row")) {
            while (more(*m_xml)) {
                m_xml->readNext();
                if (m_xml->isStartElement() && m_xml->name() == QLatin1String("c")) {
                    QString reference;
                    const QString text = readCell(&reference);
                    int column = reference.isEmpty() ? int(cells.size()) : columnOfReference(reference);
                    if (column < 0)
                        fail(QStringLiteral("单元格位置“%1”无效").arg(reference));
                    while (cells.size() < column)
                        cells << QString();
                    if (column < cells.size())
                        cells[column] = text;
                    else
                        cells << text;
                } else if (m_xml->isStartElement()) {
                    m_xml->skipCurrentElement();
                } else if (m_xml->isEndElement() && m_xml->name() == QLatin1String("row")) {
                    break;
                }
            }
            if (m_xml->hasError())
                break;
            return true;
        }
    }
    if (m_xml->hasError() && m_xml->error() != QXmlStreamReader::PrematureEndOfDocumentError)
        fail(QStringLiteral("工作表内容已损坏（%1）").arg(m_xml->errorString()));
    if (m_xml->hasError() || m_sheet->getZipError() != UNZ_OK)
        fail(QStringLiteral("工作表不完整或已损坏"));
    m_finished = true;
    return false;
}

}
