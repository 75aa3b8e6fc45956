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

// Program entry: headless sub-commands first, otherwise the GUI.
int runApplication(int argc, char* argv[]);

}
