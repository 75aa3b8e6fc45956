#include "testsupport/RenderCommandRun.h"

#include "app/Commands.h"

#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

namespace corvane::test {

namespace {

// Points descriptor `fd` at a file until destroyed, then puts the original back.
class DivertedDescriptor {
public:
    explicit DivertedDescriptor(int fd) : m_fd(fd)
    {
        m_capture.open();
        std::fflush(nullptr);
        m_saved = dup(m_fd);
        dup2(m_capture.handle(), m_fd);
    }
    ~DivertedDescriptor() { restore(); }

    QByteArray restoreAndRead()
    {
        restore();
        m_capture.seek(0);
        return m_capture.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(nullptr);
        dup2(m_saved, m_fd);
        close(m_saved);
        m_saved = -1;
    }

    int m_fd;
    int m_saved = -1;
    QTemporaryFile m_capture;
};

}

RenderRun runRenderInProcess(const QStringList& args)
{
    DivertedDescriptor output(1);
    DivertedDescriptor errors(2);
    RenderRun run;
    run.status = runRenderCommand(args);
    run.errors = QString::fromLocal8Bit(errors.restoreAndRead());
    run.output = QString::fromUtf8(output.restoreAndRead());
    return run;
}

}
