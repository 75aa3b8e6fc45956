#include "addressbook/XlsWriter.h"
#include "core/Error.h"

#include <QHash>
#include <QSaveFile>
#include <QVector>
#include <QtEndian>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-utils.h>
#include <mutex>

namespace corvane {

namespace {

constexpr int MaxRecordData = 8224;

enum RecordType : quint16 {
    BOF = 0x0809, Eof = 0x000A, CodePage = 0x0042, Window1 = 0x003D, DateMode = 0x0022,
    Precision = 0x000E, Font = 0x0031, XF = 0x00E0, Style = 0x0293, BoundSheet = 0x0085,
    SST = 0x00FC, Continue = 0x003C, ExtSST = 0x00FF, Dimensions = 0x0200, LabelSST = 0x00FD,
    Window2 = 0x023E, ColInfo = 0x007D,
};

class Payload {
public:
    Payload& u8(quint8 v) { m_data.append(char(v)); return *this; }
    Payload& u16(quint16 v) { char b[2]; qToLittleEndian(v, b); m_data.append(b, 2); return *this; }
    Payload& u32(quint32 v) { char b[4]; qToLittleEndian(v, b); m_data.append(b, 4); return *this; }
    Payload& bytes(const QByteArray& b) { m_data.append(b); return *this; }
    const QByteArray& data() const { return m_data; }
    qsizetype size() const { return m_data.size(); }

private:
    QByteArray m_data;
};

bool fitsLatin1(const QString& s)
{
    for (QChar c : s) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

// Characters of a BIFF8 string: one byte each when all fit (compressed), else UTF-16LE.
QByteArray characters(const QString& s, bool compressed)
{
    QByteArray out;
    out.reserve(s.size() * (compressed ? 1 : 2));
    for (QChar c : s) {
        out.append(char(c.unicode() & 0xFF));
        if (!compressed)
            out.append(char(c.unicode() >> 8));
    }
    return out;
}

class Stream {
public:
    void record(quint16 type, const QByteArray& payload)
    {
        Q_ASSERT(payload.size() <= MaxRecordData);
        char head[4];
        qToLittleEndian(type, head);
        qToLittleEndian(quint16(payload.size()), head + 2);
        m_data.append(head, 4);
        m_data.append(payload);
    }
    void record(quint16 type, const Payload& payload) { record(type, payload.data()); }
    qsizetype position() const { return m_data.size(); }
    void patch32(qsizetype at, quint32 v) { qToLittleEndian(v, m_data.data() + at); }
    QByteArray& data() { return m_data; }

private:
    QByteArray m_data;
};

// The shared-string table in SST and CONTINUE records: a string's length and flags never part;
// the characters of a string longer than a record do, and each CONTINUE that carries on a string
// begins with the flags byte again. EXTSST then points at every eighth string or so.
void writeSharedStrings(Stream& stream, const QVector<QString>& strings, quint32 total)
{
    const int perBucket = std::max(8, int((strings.size() + 127) / 128));
    Payload ext;
    ext.u16(quint16(perBucket));

    QByteArray record;
    {
        Payload head;
        head.u32(total).u32(quint32(strings.size()));
        record = head.data();
    }
    quint16 type = SST;
    qsizetype recordStart = stream.position();
    auto flush = [&] {
        stream.record(type, record);
        record.clear();
        type = Continue;
        recordStart = stream.position();
    };

    for (int i = 0; i < strings.size(); ++i) {
        const QString& s = strings[i];
        const bool compressed = fitsLatin1(s);
        const int charSize = compressed ? 1 : 2;
        const QByteArray chars = characters(s, compressed);
        // A string that fits in a record of its own is not split: libfreexl reads a split string
        // only when its second part completes it, and other readers do not mind.
        const qsizetype whole = 3 + chars.size();
        if (record.size() + 3 + charSize > MaxRecordData
            || (record.size() + whole > MaxRecordData && whole <= MaxRecordData))
            flush();
        if (i % perBucket == 0) {
            const qsizetype offset = 4 + record.size();
            ext.u32(quint32(recordStart + offset)).u16(quint16(offset)).u16(0);
        }
        Payload head;
        head.u16(quint16(s.size())).u8(compressed ? 0x00 : 0x01);
        record += head.data();
        qsizetype done = 0;
        while (done < chars.size()) {
            qsizetype room = (MaxRecordData - record.size()) / charSize * charSize;
            if (room == 0) {
                flush();
                record.append(char(compressed ? 0x00 : 0x01));
                room = (MaxRecordData - record.size()) / charSize * charSize;
            }
            const qsizetype n = std::min(room, chars.size() - done);
            record.append(chars.constData() + done, n);
            done += n;
        }
    }
    flush();
    stream.record(ExtSST, ext);
}

void writeBof(Stream& stream, quint16 kind)
{
    Payload p;
    p.u16(0x0600).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0x00000041).u32(0x00000006);
    stream.record(BOF, p);
}

void writeGlobals(Stream& stream)
{
    stream.record(CodePage, Payload().u16(0x04B0));   // UTF-16
    stream.record(Window1, Payload().u16(0).u16(0).u16(0x3A5C).u16(0x23BE).u16(0x0038).u16(0).u16(0).u16(1).u16(0x0258));
    stream.record(DateMode, Payload().u16(0));
    stream.record(Precision, Payload().u16(1));
    // 宋体 12 pt, GB2312 character set; four alike, since font 4 is never used and Excel reads 0-3.
    const QString face = QStringLiteral("宋体");
    for (int i = 0; i < 4; ++i) {
        Payload font;
        font.u16(240).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(134).u8(0);
        font.u8(quint8(face.size())).u8(0x01).bytes(characters(face, false));
        stream.record(Font, font);
    }
    // Fifteen style formats and the one cell format (15) that every cell uses.
    for (int i = 0; i < 16; ++i) {
        Payload xf;
        const bool styleFormat = i < 15;
        xf.u16(0).u16(0).u16(styleFormat ? 0xFFF5 : 0x0001).u8(0x20).u8(0)
          .u16(styleFormat && i > 0 ? 0xF400 : 0x0000).u16(0).u16(0).u32(0).u16(0x20C0);
        stream.record(XF, xf);
    }
    stream.record(Style, Payload().u16(0x8000).u8(0).u8(0xFF));
}

}

QByteArray XlsWriter::workbookStream(const QStringList& header, int rowCount, const CellText& cell, int rowsPerSheet)
{
    const int columns = int(header.size());
    if (columns > MaxColumns)
        throw Error(QStringLiteral("列数 %1 超过了Excel工作表的 %2 列").arg(columns).arg(MaxColumns));
    if (rowsPerSheet < 2 || rowsPerSheet > MaxRowsPerSheet)
        rowsPerSheet = MaxRowsPerSheet;
    const int dataRowsPerSheet = rowsPerSheet - 1;
    const int sheetCount = std::max(1, (rowCount + dataRowsPerSheet - 1) / dataRowsPerSheet);

    // Every distinct text once; cells refer to it by number. Empty cells are left out.
    QHash<QString, int> index;
    QVector<QString> strings;
    quint32 total = 0;
    auto stringNumber = [&](const QString& text, int row, int column) -> int {
        if (text.isEmpty())
            return -1;
        if (text.size() > MaxCellLength)
            throw Error(QStringLiteral("第%1行“%2”列的内容超过了Excel单元格的 %3 个字符")
                            .arg(row + 1).arg(header.value(column)).arg(MaxCellLength));
        ++total;
        auto it = index.find(text);
        if (it == index.end()) {
            it = index.insert(text, int(strings.size()));
            strings << text;
        }
        return it.value();
    };
    QVector<int> headerCells;
    for (int c = 0; c < columns; ++c)
        headerCells << stringNumber(header[c], -1, c);
    QVector<int> cells(qsizetype(rowCount) * columns);
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columns; ++c)
            cells[qsizetype(r) * columns + c] = stringNumber(cell(r, c), r + 1, c);
    }
    // The header repeats on every further sheet.
    quint32 headerStrings = 0;
    for (int n : headerCells)
        headerStrings += n >= 0;
    total += headerStrings * quint32(sheetCount - 1);

    Stream stream;
    writeBof(stream, 0x0005);
    writeGlobals(stream);
    QVector<qsizetype> sheetOffsets;
    for (int s = 0; s < sheetCount; ++s) {
        sheetOffsets << stream.position() + 4;
        const QString name = QStringLiteral("Sheet%1").arg(s + 1);
        Payload p;
        p.u32(0).u8(0).u8(0).u8(quint8(name.size())).u8(0).bytes(name.toLatin1());
        stream.record(BoundSheet, p);
    }
    writeSharedStrings(stream, strings, total);
    stream.record(Eof, QByteArray());

    for (int s = 0; s < sheetCount; ++s) {
        stream.patch32(sheetOffsets[s], quint32(stream.position()));
        const int first = s * dataRowsPerSheet;
        const int count = std::min(dataRowsPerSheet, rowCount - first);
        writeBof(stream, 0x0010);
        stream.record(Dimensions, Payload().u32(0).u32(quint32(count + 1)).u16(0).u16(quint16(columns)).u16(0));
        // Columns wide enough for names and addresses (units of 1/256 of a character).
        if (columns > 0)
            stream.record(ColInfo, Payload().u16(0).u16(quint16(columns - 1)).u16(16 * 256).u16(15).u16(0).u16(0));
        auto label = [&](int row, int column, int number) {
            if (number >= 0)
                stream.record(LabelSST, Payload().u16(quint16(row)).u16(quint16(column)).u16(15).u32(quint32(number)));
        };
        for (int c = 0; c < columns; ++c)
            label(0, c, headerCells[c]);
        for (int r = 0; r < count; ++r) {
            for (int c = 0; c < columns; ++c)
                label(r + 1, c, cells[qsizetype(first + r) * columns + c]);
        }
        const quint16 options = s == 0 ? 0x06B6 : 0x00B6;   // the first sheet is the selected one
        stream.record(Window2, Payload().u16(options).u16(0).u16(0).u32(0x40).u16(0).u16(0).u32(0));
        stream.record(Eof, QByteArray());
    }
    // Excel wants the workbook stream in the compound file's big blocks, at least 4096 bytes.
    if (stream.data().size() < 4096)
        stream.data().append(QByteArray(4096 - stream.data().size(), '\0'));
    return stream.data();
}

QByteArray XlsWriter::workbookFile(const QStringList& header, int rowCount, const CellText& cell, int rowsPerSheet)
{
    const QByteArray workbook = workbookStream(header, rowCount, cell, rowsPerSheet);
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });

    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* container = gsf_outfile_msole_new(memory);
    bool ok = container != nullptr;
    if (ok) {
        GsfOutput* child = gsf_outfile_new_child(container, "Workbook", FALSE);
        ok = child && gsf_output_write(child, gsize(workbook.size()),
                                       reinterpret_cast<const guint8*>(workbook.constData()));
        if (child) {
            ok = gsf_output_close(child) && ok;
            g_object_unref(child);
        }
        ok = gsf_output_close(GSF_OUTPUT(container)) && ok;
        g_object_unref(container);
    }
    QByteArray file;
    if (ok) {
        const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
        file = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(gsf_output_size(memory)));
    }
    if (!gsf_output_is_closed(memory))
        gsf_output_close(memory);
    g_object_unref(memory);
    if (!ok || file.isEmpty())
        throw Error(QStringLiteral("无法生成Excel文件的复合文档结构"));
    return file;
}

void XlsWriter::save(const QString& fileName, const QStringList& header, int rowCount, const CellText& cell,
                     int rowsPerSheet)
{
    const QByteArray file = workbookFile(header, rowCount, cell, rowsPerSheet);
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.commit())
        throw Error(QStringLiteral("无法写入“%1”：%2").arg(fileName, out.errorString()));
}

}
