#pragma once
#include <QSet>
#include <QString>

namespace corvane {
class PrintingSystem;
}

namespace corvane::test {

// The cups-pdf queue scripts/cups-test-printer.sh adds for the printing tests.
QString cupsPdfQueueName();

// The test queue's index among `system`'s printers, with the folder its PDFs land in made
// ready; -1 when the machine has no such queue.
int findCupsPdfQueue(const PrintingSystem& system);

// Where cups-pdf writes: the submitting user's home from the password database, whatever
// $HOME says.
QString cupsPdfDirectory();

// The PDFs cups-pdf has written for jobs titled `title` (it names its files after the title).
QSet<QString> cupsPdfFiles(const QString& title);

// Waits (30 s at most) for a PDF for `title` that is not among `before` and whose size has
// settled into a file pdfinfo reads; its path, or empty.
QString waitForNewCupsPdf(const QString& title, const QSet<QString>& before = {});

}
