#pragma once
#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QList>
#include <QTemporaryFile>
#include <memory>

class QPicture;

namespace corvane {

// The finished pages of a preview run, each as the page engine wrote it down (PageRecording),
// and the types they use. The bytes stay in memory up to memoryLimit, then move to a temporary
// file that is deleted with the store.
//
// Layout: a header holding the page count when the store moved to its file, then one record
// per page:
//   page number (int32), end of record (int64), byte count (int32), page, start of record (int64)
// so a page is found by walking from the last position fetched, forwards or backwards.
class TPageStore {
public:
    static constexpr qint64 memoryLimit = 250000;

    TPageStore();
    ~TPageStore();
    TPageStore(const TPageStore&) = delete;
    TPageStore& operator=(const TPageStore&) = delete;

    // The types the pages refer to (filled while they are written down).
    QList<QFont>& fonts() { return m_fonts; }
    void append(const QByteArray& page);
    int pageCount() const { return m_pageCount; }
    // Page n (1-based) as a recording, or nullptr when there is no such page. The caller owns it.
    std::unique_ptr<QPicture> page(int n);

    bool inFile() const { return m_file != nullptr; }
    QString fileName() const;         // empty while in memory
    qint64 byteSize() const { return m_end; }

private:
    static constexpr qint64 headerSize = 4;
    static constexpr qint64 recordHeadSize = 4 + 8 + 4;
    QIODevice& device();
    void spillToFile();
    void seekRecord(int n);

    QList<QFont> m_fonts;
    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QTemporaryFile> m_file;
    int m_pageCount = 0;
    qint64 m_end = headerSize;
    int m_cursorPage = 1;            // the record that starts at m_cursorPos
    qint64 m_cursorPos = headerSize;
};

}
