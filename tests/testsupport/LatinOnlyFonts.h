#pragma once
#include <QString>

namespace corvane::test {

// Writes a fontconfig file into `folder` that knows the DejaVu (Latin) faces only, for a child
// process started with FONTCONFIG_FILE pointing at it; its path, or empty when it could not be
// written.
QString writeLatinOnlyFontConfig(const QString& folder);

}
