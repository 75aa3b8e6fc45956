#include "app/GlobalHelpKey.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#ifdef CORVANE_HAVE_X11
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace corvane {

#ifdef CORVANE_HAVE_X11
namespace {

bool grabRefused = false;

int noteGrabError(Display*, XErrorEvent* error)
{
    // BadAccess: another client holds F1 already.
    grabRefused = grabRefused || error->error_code != Success;
    return 0;
}

// The modifier bit NumLock happens to sit on in this server's mapping.
unsigned numLockMask(Display* display)
{
    unsigned mask = 0;
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map)
        return Mod2Mask;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            if (numLock && map->modifiermap[modifier * map->max_keypermod + k] == numLock)
                mask = 1u << modifier;
        }
    }
    XFreeModifiermap(map);
    return mask ? mask : Mod2Mask;
}

}
#endif

GlobalHelpKey::GlobalHelpKey(std::function<void()> pressed, QObject* parent)
    : QObject(parent), m_pressed(std::move(pressed))
{
}

GlobalHelpKey::~GlobalHelpKey()
{
    release();
}

bool GlobalHelpKey::grab()
{
#ifdef CORVANE_HAVE_X11
    release();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    // A connection of our own: its events never pass through Qt's window handling.
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    m_display = display;
    m_keycode = XKeysymToKeycode(display, XK_F1);
    if (!m_keycode) {
        release();
        return false;
    }
    const unsigned numLock = numLockMask(display);
    m_modifiers = {0u, unsigned(LockMask), numLock, numLock | unsigned(LockMask)};
    const Window root = DefaultRootWindow(display);
    grabRefused = false;
    const auto previous = XSetErrorHandler(noteGrabError);
    for (unsigned modifiers : m_modifiers)
        XGrabKey(display, m_keycode, modifiers, root, False, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (grabRefused) {
        release();
        return false;
    }
    m_notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &GlobalHelpKey::readEvents);
    readEvents();
    return true;
#else
    return false;
#endif
}

void GlobalHelpKey::readEvents()
{
#ifdef CORVANE_HAVE_X11
    auto* display = static_cast<Display*>(m_display);
    if (!display)
        return;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress && int(event.xkey.keycode) == m_keycode && m_pressed)
            m_pressed();
    }
#endif
}

void GlobalHelpKey::release()
{
#ifdef CORVANE_HAVE_X11
    delete m_notifier;
    m_notifier = nullptr;
    if (auto* display = static_cast<Display*>(m_display)) {
        const Window root = DefaultRootWindow(display);
        for (unsigned modifiers : m_modifiers)
            XUngrabKey(display, m_keycode, modifiers, root);
        XCloseDisplay(display);
    }
    m_display = nullptr;
    m_modifiers.clear();
#endif
}

}
