#pragma once
#include <QString>
#include <memory>

namespace corvane {

class TMainForm;

// The application's title: window title, error box title and desktop entry name.
QString applicationTitle();

// Builds the main window with its connection and lists, then runs FormCreate, then makes the
// print windows. A database that cannot be opened shows the engine's text and gives nullptr.
std::unique_ptr<TMainForm> createMainWindow();

}
