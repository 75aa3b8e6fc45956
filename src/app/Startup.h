#pragma once
#include <QString>
#include <memory>

namespace corvane {

class TMainForm;

// The application's title: window title, error box title and desktop entry name.
QString applicationTitle();

// Builds the main window with its connection and lists, then runs FormCreate, then makes the
// print windows. A book that cannot be opened, or that lacks a table or column, shows why in the
// standard error box and gives nullptr; a read-only book opens for browsing after one notice.
std::unique_ptr<TMainForm> createMainWindow();

// The whole windowed run: when the program already runs on this address book, that window is
// brought to the front and this start ends; otherwise the main window is made, shown and run.
// Returns the process exit status.
int runMainWindow();

}
