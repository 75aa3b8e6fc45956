#pragma once
#include <QString>

namespace corvane {

// Backup: a consistent snapshot of the address book taken through the database engine (a write in
// progress cannot tear it), written to a temporary file beside `backupFile` and renamed over it,
// so a failed backup never destroys an earlier one of that name. Throws corvane::Error.
void backupDatabase(const QString& databaseFile, const QString& backupFile);

// Throws corvane::Error unless the file opens with the program's key and holds the tables outr,
// inr and excel with all their columns.
void checkAddressBookFile(const QString& fileName);

// Restore: checks the chosen file as above, copies it to a temporary file beside `databaseFile`,
// flushes it to the disk and renames it over `databaseFile` in one step. On any failure the old
// file is untouched. Throws corvane::Error.
void restoreDatabase(const QString& sourceFile, const QString& databaseFile);

}
