#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace corvane {

// F1 without modifiers grabbed on the X11 root window, so help opens while another program has
// the focus. Works only on an X11 display; grab() says false elsewhere (Wayland, offscreen).
class GlobalHelpKey : public QObject {
    Q_OBJECT
public:
    explicit GlobalHelpKey(std::function<void()> pressed, QObject* parent = nullptr);
    ~GlobalHelpKey() override;

    bool grab();

private:
    void readEvents();
    void release();

    std::function<void()> m_pressed;
    void* m_display = nullptr;      // Display*, kept out of the header (Xlib's macros clash with Qt)
    int m_keycode = 0;
    QList<unsigned> m_modifiers;    // the lock-key variants grabbed
    QSocketNotifier* m_notifier = nullptr;
};

}
