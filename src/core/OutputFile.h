#pragma once
#include <QString>

namespace corvane {

// Every file the program writes goes through here: the writer fills a temporary file beside the
// target, and commit() renames it over the target only when the file is complete and on disk.
// Until then the target keeps what it held; a failure names the target and the cause.
// A target that is not a regular file (a device such as /dev/null) is written in place from a
// complete temporary copy, and a failed write is an error all the same.
class OutputFile {
public:
    // Throws corvane::Error when the target is an open address book (by file identity, so another
    // name or link to it is refused too), a folder, or in a folder that does not exist. A link is
    // followed: the file it names is replaced and the link stays.
    explicit OutputFile(QString target);
    ~OutputFile();   // a file never committed is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const QString& target() const { return m_target; }
    // Where the writer writes: an empty file, made when this object was.
    const QString& temporaryPath() const { return m_temporary; }

    // Flushes the temporary file to disk and puts it in the target's place; throws corvane::Error.
    void commit();
    void discard();

    // Files that output must never replace (an open address book); counted, so that two
    // connections to one file keep it protected until both are closed.
    static void protect(const QString& path);
    static void unprotect(const QString& path);
    static bool isProtected(const QString& path);

    // "写入“…”失败：<cause>" with the system's text after the Chinese cause.
    static QString writeFailure(const QString& target, int error);

private:
    QString m_target;
    QString m_temporary;
    bool m_inPlace = false;   // a device or pipe: copied into, never replaced
    bool m_done = false;
};

}
