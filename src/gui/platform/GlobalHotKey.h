#pragma once
// System-wide hot keys (a modifier plus a key, in the style of RegisterHotKey) through passive
// key grabs on the X11 root window, so they fire while another program has the focus. Where
// the program does not run on X11 (Wayland, offscreen), registration fails.

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <map>

struct xcb_connection_t;

class GlobalHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Modifier bits as RegisterHotKey has them.
    static constexpr unsigned kModAlt = 1;
    static constexpr unsigned kModControl = 2;
    static constexpr unsigned kModShift = 4;

    explicit GlobalHotKey(QObject* parent = nullptr);
    ~GlobalHotKey() override;

    // Grabs modifiers + virtualKey (Win32 key codes: 'A'..'Z', '0'..'9') under the id; a key
    // already registered under the id is released first. False when there is no X11 display,
    // the key has no key code, or another client holds the key.
    bool registerKey(int id, unsigned modifiers, unsigned virtualKey);
    // Releases the key of the id; false when none was registered.
    bool unregisterKey(int id);
    bool isRegistered(int id) const { return m_keys.count(id) != 0; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // The key of the id was pressed (delivered after the event has been handled).
    void activated(int id);

private:
    struct Grab {
        unsigned keycode;
        unsigned modifiers; // X11 modifier mask
    };
    void ungrab(const Grab& grab);

    xcb_connection_t* m_connection = nullptr;
    unsigned m_root = 0;
    std::map<int, Grab> m_keys;
};
