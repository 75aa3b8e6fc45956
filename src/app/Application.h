#pragma once
#include <QApplication>

namespace corvane {

// An error escaping any event handler ends in the standard error box instead of ending the
// program; the window where it happened stays as it was.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Loads Qt's Simplified Chinese translations; false when they are not installed.
bool installQtTranslations();
// Name, icon, translations and fonts of the windowed program.
void setUpApplication();

// Program entry: headless sub-commands first, otherwise the GUI.
int runApplication(int argc, char* argv[]);

}
