#pragma once
// This process's memory as the kernel reports it, for the benchmarks' peak figures.
#include <QByteArray>
#include <QFile>

namespace corvane::bench {

// A "VmRSS:"-style field of /proc/self/status in KiB, or -1.
inline long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Resets the peak resident size (VmHWM), so each phase reports its own peak.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

}
