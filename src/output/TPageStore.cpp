#include "output/TPageStore.h"

#include "core/Error.h"
#include "output/PageCanvas.h"

#include <QDataStream>
#include <QDir>
#include <QPicture>

namespace corvane {

TPageStore::TPageStore()
{
    m_buffer.setBuffer(&m_bytes);
    m_buffer.open(QIODevice::ReadWrite);
    QDataStream out(&m_buffer);
    out << qint32(0);
}

TPageStore::~TPageStore() = default;

QIODevice& TPageStore::device()
{
    return m_file ? static_cast<QIODevice&>(*m_file) : static_cast<QIODevice&>(m_buffer);
}

QString TPageStore::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

void TPageStore::spillToFile()
{
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/corvane-pages-XXXXXX"));
    if (!file->open())
        throw Error(QStringLiteral("Cannot create a temporary file for the preview pages: ") + file->errorString());
    QDataStream count(&m_buffer);
    m_buffer.seek(0);
    count << qint32(m_pageCount);
    if (file->write(m_bytes.constData(), m_end) != m_end)
        throw Error(QStringLiteral("Cannot write the preview pages: ") + file->errorString());
    m_file = std::move(file);
    m_buffer.close();
    m_bytes = QByteArray();
}

void TPageStore::append(const QByteArray& page)
{
    const qint32 size = qint32(page.size());
    const qint64 start = m_end;
    const qint64 end = start + recordHeadSize + size + 8;
    if (!m_file && end > memoryLimit)
        spillToFile();
    // One write per page: the file is written at its end only, and the count in the header
    // is brought up to date when the store moves to its file.
    QByteArray record;
    record.reserve(end - start);
    QDataStream out(&record, QIODevice::WriteOnly);
    out << qint32(m_pageCount + 1) << qint64(end) << size;
    out.writeRawData(page.constData(), size);
    out << qint64(start);
    QIODevice& io = device();
    if (io.pos() != start)
        io.seek(start);
    if (io.write(record) != record.size())
        throw Error(QStringLiteral("Cannot write the preview pages: ") + io.errorString());
    ++m_pageCount;
    m_end = end;
}

void TPageStore::seekRecord(int n)
{
    QIODevice& io = device();
    QDataStream in(&io);
    while (m_cursorPage < n) {
        io.seek(m_cursorPos + 4);
        qint64 end = 0;
        in >> end;
        m_cursorPos = end;
        ++m_cursorPage;
    }
    while (m_cursorPage > n) {
        io.seek(m_cursorPos - 8);
        qint64 start = 0;
        in >> start;
        m_cursorPos = start;
        --m_cursorPage;
    }
}

std::unique_ptr<QPicture> TPageStore::page(int n)
{
    if (n < 1 || n > m_pageCount)
        return nullptr;
    seekRecord(n);
    QIODevice& io = device();
    io.seek(m_cursorPos);
    QDataStream in(&io);
    qint32 number = 0;
    qint64 end = 0;
    qint32 size = 0;
    in >> number >> end >> size;
    QByteArray bytes(size, Qt::Uninitialized);
    if (number != n || in.readRawData(bytes.data(), size) != size)
        throw Error(QStringLiteral("The preview pages are damaged."));
    std::unique_ptr<QPicture> picture = PageRecording::play(bytes, m_fonts);
    if (!picture)
        throw Error(QStringLiteral("The preview pages are damaged."));
    return picture;
}

}
