#pragma once
#include <QStringList>

namespace corvane {

// Headless sub-commands: `corvane catalogue ...`, `corvane render ...`.
// Each takes the arguments after its own name and returns the process exit status.
int runCatalogueCommand(const QStringList& args);
int runRenderCommand(const QStringList& args);

}
