#include "gui/platform/GlobalHotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// Lock and NumLock change the modifier state the server sees; each combination needs a grab.
constexpr std::uint16_t kIgnoredMasks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kRelevantMask =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

// The X11 key symbol of a Win32 key code: letters and digits (the symbols are their Latin-1
// lower-case characters); 0 for anything else.
xcb_keysym_t keysymOf(unsigned virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return virtualKey + ('a' - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return virtualKey;
    return 0;
}

unsigned keycodeOf(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto cookie = xcb_get_keyboard_mapping(connection, setup->min_keycode, count);
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_keyboard_mapping_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perCode = reply->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        for (int i = 0; i < perCode && i < 2; ++i) {
            if (syms[code * perCode + i] == keysym)
                return setup->min_keycode + code;
        }
    }
    return 0;
}

std::uint16_t x11Modifiers(unsigned modifiers)
{
    std::uint16_t mask = 0;
    if (modifiers & GlobalHotKey::kModAlt)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & GlobalHotKey::kModControl)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & GlobalHotKey::kModShift)
        mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}

} // namespace

GlobalHotKey::GlobalHotKey(QObject* parent) : QObject(parent)
{
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        m_connection = x11->connection();
        if (m_connection) {
            const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
            m_root = screens.rem > 0 ? screens.data->root : 0;
        }
    }
    if (m_connection && m_root)
        QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalHotKey::~GlobalHotKey()
{
    if (m_connection && m_root)
        QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const auto& [id, grab] : m_keys)
        ungrab(grab);
}

bool GlobalHotKey::registerKey(int id, unsigned modifiers, unsigned virtualKey)
{
    unregisterKey(id);
    if (!m_connection || !m_root)
        return false;
    const xcb_keysym_t keysym = keysymOf(virtualKey);
    const unsigned keycode = keysym ? keycodeOf(m_connection, keysym) : 0;
    if (!keycode)
        return false;
    const Grab grab{keycode, x11Modifiers(modifiers)};
    // Checked requests: a key another client holds comes back as BadAccess here, as an answer,
    // instead of as an error event.
    xcb_void_cookie_t cookies[std::size(kIgnoredMasks)];
    for (std::size_t i = 0; i < std::size(kIgnoredMasks); ++i)
        cookies[i] = xcb_grab_key_checked(m_connection, 0, m_root, grab.modifiers | kIgnoredMasks[i],
                                          static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC,
                                          XCB_GRAB_MODE_ASYNC);
    bool held = true;
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
            held = false;
            std::free(error);
        }
    }
    if (!held) {
        ungrab(grab); // only our own grabs go; another client's stay
        return false;
    }
    m_keys[id] = grab;
    return true;
}

bool GlobalHotKey::unregisterKey(int id)
{
    const auto it = m_keys.find(id);
    if (it == m_keys.end())
        return false;
    ungrab(it->second);
    m_keys.erase(it);
    return true;
}

void GlobalHotKey::ungrab(const Grab& grab)
{
    if (!m_connection)
        return;
    for (std::uint16_t ignored : kIgnoredMasks)
        xcb_ungrab_key(m_connection, static_cast<xcb_keycode_t>(grab.keycode), m_root, grab.modifiers | ignored);
    xcb_flush(m_connection);
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || m_keys.empty())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (key->event != m_root)
        return false;
    for (const auto& [id, grab] : m_keys) {
        if (key->detail == grab.keycode && (key->state & kRelevantMask) == grab.modifiers) {
            if (type == XCB_KEY_PRESS) {
                // The handler may run a nested loop; it must not run inside the event dispatch.
                const int which = id;
                QMetaObject::invokeMethod(this, [this, which] { emit activated(which); }, Qt::QueuedConnection);
            }
            return true;
        }
    }
    return false;
}
