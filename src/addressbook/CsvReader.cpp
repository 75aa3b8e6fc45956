#include "addressbook/CsvReader.h"
#include "core/Error.h"

namespace corvane {

namespace {
constexpr qint64 ChunkSize = 64 * 1024;
}

bool CsvReader::isUtf8File(QFile& file)
{
    // Byte by byte, without overlong forms, surrogates or code points past U+10FFFF.
    int need = 0;
    unsigned char low = 0x80, high = 0xBF;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(ChunkSize);
        if (chunk.isEmpty())
            break;
        for (const char ch : chunk) {
            const auto b = static_cast<unsigned char>(ch);
            if (need) {
                if (b < low || b > high)
                    return false;
                --need;
                low = 0x80;
                high = 0xBF;
            } else if (b < 0x80) {
            } else if (b >= 0xC2 && b <= 0xDF) {
                need = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                need = 2;
                low = b == 0xE0 ? 0xA0 : 0x80;
                high = b == 0xED ? 0x9F : 0xBF;
            } else if (b >= 0xF0 && b <= 0xF4) {
                need = 3;
                low = b == 0xF0 ? 0x90 : 0x80;
                high = b == 0xF4 ? 0x8F : 0xBF;
            } else {
                return false;
            }
        }
    }
    return need == 0;
}

CsvReader::CsvReader(const QString& fileName) : m_fileName(fileName), m_file(fileName)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法打开文件“%1”：%2").arg(fileName, m_file.errorString()));
    // Text files hold no NUL bytes; anything that does is no comma-separated file.
    const QByteArray head = m_file.peek(ChunkSize);
    if (head.contains('\0'))
        throw Error(QStringLiteral("无法读取“%1”：不是Excel工作簿，也不是CSV文本文件").arg(fileName));
    m_encoding = isUtf8File(m_file) ? Encoding::Utf8 : Encoding::Gb18030;
    if (m_file.error() != QFileDevice::NoError || !m_file.seek(0))
        throw Error(QStringLiteral("无法读取“%1”：%2").arg(fileName, m_file.errorString()));
    m_decoder = QStringDecoder(m_encoding == Encoding::Utf8 ? "UTF-8" : "GB18030");
    if (!m_decoder.isValid())
        throw Error(QStringLiteral("无法读取“%1”：系统不支持 GB18030 编码").arg(fileName));
}

bool CsvReader::fill()
{
    if (m_atEnd)
        return false;
    const QByteArray chunk = m_file.read(ChunkSize);
    if (m_file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("无法读取“%1”：%2").arg(m_fileName, m_file.errorString()));
    m_text.remove(0, m_pos);
    m_pos = 0;
    if (chunk.isEmpty()) {
        m_atEnd = true;
        m_text += m_decoder.decode(QByteArray());
        return false;
    }
    m_text += m_decoder.decode(chunk);
    if (m_first) {
        m_first = false;
        if (m_text.startsWith(QChar(0xFEFF)))
            m_text.remove(0, 1);
    }
    return true;
}

bool CsvReader::readRow(QStringList& cells)
{
    cells.clear();
    auto more = [this] { return m_pos < m_text.size() || fill() || m_pos < m_text.size(); };
    if (!more())
        return false;

    QString cell;
    bool quoted = false;      // inside a quoted cell
    bool wasQuoted = false;   // the cell began with a quote
    while (more()) {
        const QChar c = m_text[m_pos++];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (!more() || m_text[m_pos] != QLatin1Char('"')) {
                    quoted = false;
                } else {
                    cell += c;
                    ++m_pos;
                }
            } else if (c == QLatin1Char('\r') && more() && m_text[m_pos] == QLatin1Char('\n')) {
                // A line break inside a cell is one "\n", as the sheet shows it.
            } else {
                cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            cells << cell;
            cell.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && more() && m_text[m_pos] == QLatin1Char('\n'))
                ++m_pos;
            cells << cell;
            return true;
        } else {
            cell += c;
        }
    }
    if (quoted)
        throw Error(QStringLiteral("无法读取“%1”：文件在引号内结束，内容不完整").arg(m_fileName));
    cells << cell;
    return true;
}

}
