#pragma once
#include <QString>
#include <QStringList>

namespace corvane::test {

// Runs a command-line tool (pdfinfo, pdftotext, pdftoppm) and returns its standard output
// as UTF-8; empty when it could not run or took longer than a minute.
QString toolOutput(const QString& program, const QStringList& arguments);

// Runs a tool with its output discarded: its exit code, or -1 when it crashed or hung.
int runToolQuietly(const QString& program, const QStringList& arguments);

}
