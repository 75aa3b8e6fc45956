#include "output/TPageStore.h"

#include "core/Error.h"

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
    if (file->write(m_bytes.constData(), m_end) != m_end)
        throw Error(QStringLiteral("Cannot write the preview pages: ") + file->errorString());
    m_file = std::move(file);
    m_buffer.close();
    m_bytes = QByteArray();
}

void TPageStore::append(const QPicture& page)
{
    const qint32 size = qint32(page.size());
    const qint64 start = m_end;
    const qint64 end = start + recordHeadSize + size + 8;
    if (!m_file && end > memoryLimit)
        spillToFile();
    QIODevice& io = device();
    io.seek(start);
    QDataStream out(&io);
    out << qint32(m_pageCount + 1) << qint64(end) << size;
    out.writeRawData(page.data(), size);
    out << qint64(start);
    ++m_pageCount;
    io.seek(0);
    out << qint32(m_pageCount);
    if (out.status() != QDataStream::Ok)
        throw Error(QStringLiteral("Cannot write the preview pages: ") + io.errorString());
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
    auto picture = std::make_unique<QPicture>();
    picture->setData(bytes.constData(), uint(size));
    return picture;
}

}
