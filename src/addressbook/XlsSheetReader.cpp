#include "addressbook/XlsSheetReader.h"
#include "addressbook/CellText.h"
#include "core/Error.h"

#include <QFile>
#include <freexl.h>

namespace corvane {

namespace {

QString freexlCause(int rc)
{
    switch (rc) {
    case FREEXL_FILE_NOT_FOUND: return QStringLiteral("文件不存在或不可读");
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("内存不足");
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR: return QStringLiteral("文件不完整或已损坏");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
    case FREEXL_INVALID_MINI_STREAM:
    case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
    case FREEXL_CRAFTED_FILE: return QStringLiteral("文件结构已损坏");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return QStringLiteral("文件中没有Excel工作簿");
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_INVALID_SST:
    case FREEXL_BIFF_ILLEGAL_SST_INDEX: return QStringLiteral("工作簿内容已损坏");
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET: return QStringLiteral("工作簿的文字编码无法识别");
    default: return QStringLiteral("无法读取工作簿（错误 %1）").arg(rc);
    }
}

}

XlsSheetReader::XlsSheetReader(const QString& fileName, const QString& sheetName) : m_fileName(fileName)
{
    auto fail = [&](const QString& cause) {
        if (m_handle)
            freexl_close(m_handle);
        m_handle = nullptr;
        throw Error(QStringLiteral("无法读取“%1”：%2").arg(fileName, cause));
    };
    const void* handle = nullptr;
    const int rc = freexl_open(QFile::encodeName(fileName).constData(), &handle);
    m_handle = handle;
    if (rc != FREEXL_OK)
        fail(freexlCause(rc));
    // libfreexl reports success with no handle for some workbooks it cannot read.
    if (!m_handle)
        fail(QStringLiteral("工作簿内容无法识别"));

    unsigned int sheetCount = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK)
        fail(QStringLiteral("工作簿内容已损坏"));
    int found = -1;
    for (unsigned int i = 0; i < sheetCount && found < 0; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(m_handle, (unsigned short)i, &name) == FREEXL_OK && name
            && QString::fromUtf8(name).compare(sheetName, Qt::CaseInsensitive) == 0)
            found = int(i);
    }
    if (found < 0)
        fail(QStringLiteral("没有名为“%1”的工作表").arg(sheetName));
    if (freexl_select_active_worksheet(m_handle, (unsigned short)found) != FREEXL_OK
        || freexl_worksheet_dimensions(m_handle, &m_rows, &m_columns) != FREEXL_OK)
        fail(QStringLiteral("工作表“%1”已损坏").arg(sheetName));
}

XlsSheetReader::~XlsSheetReader()
{
    if (m_handle)
        freexl_close(m_handle);
}

bool XlsSheetReader::readRow(QStringList& cells)
{
    cells.clear();
    if (m_next >= m_rows)
        return false;
    const unsigned int row = m_next++;
    for (unsigned short column = 0; column < m_columns; ++column) {
        FreeXL_CellValue value;
        const int rc = freexl_get_cell_value(m_handle, row, column, &value);
        if (rc != FREEXL_OK)
            throw Error(QStringLiteral("无法读取“%1”：第%2行第%3列已损坏").arg(m_fileName).arg(row + 1).arg(column + 1));
        switch (value.type) {
        case FREEXL_CELL_INT:
            cells << QString::number(value.value.int_value);
            break;
        case FREEXL_CELL_DOUBLE:
            cells << numberCellText(value.value.double_value);
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            cells << (value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString());
            break;
        default:
            cells << QString();
            break;
        }
    }
    return true;
}

}
