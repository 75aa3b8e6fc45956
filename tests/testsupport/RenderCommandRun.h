#pragma once
#include <QString>
#include <QStringList>

namespace corvane::test {

// What `corvane render` did when run inside the test process.
struct RenderRun {
    int status = 0;
    QString output; // what it wrote to standard output
    QString errors; // what it wrote to standard error
};

// Runs the render command in this process with standard output and error diverted into files,
// so a test can read what a clerk would see on the terminal.
RenderRun runRenderInProcess(const QStringList& args);

}
