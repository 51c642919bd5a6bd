#include "linux/x11/X11GlobalShortcut.h"

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>

#include <QCoreApplication>
#include <QKeySequence>

#include "linux/x11/X11Desktop.h"

namespace pelliwig {
namespace {

// Caps Lock and Num Lock (Mod2 on every common keyboard map) change nothing.
constexpr std::array<std::uint16_t, 4> kLockVariants{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                     XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kCounted =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint16_t modifiersOf(Qt::KeyboardModifiers qt) {
    std::uint16_t mask = 0;
    if (qt & Qt::ShiftModifier) mask |= XCB_MOD_MASK_SHIFT;
    if (qt & Qt::ControlModifier) mask |= XCB_MOD_MASK_CONTROL;
    if (qt & Qt::AltModifier) mask |= XCB_MOD_MASK_1;
    if (qt & Qt::MetaModifier) mask |= XCB_MOD_MASK_4;
    return mask;
}

// The first key code whose map holds the keysym; 0 when none does.
std::uint8_t keycodeOf(xcb_connection_t* c, std::uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* map = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, std::uint8_t(count)), nullptr);
    if (!map) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    const int perCode = map->keysyms_per_keycode;
    std::uint8_t found = 0;
    for (int code = 0; code < count && !found; ++code) {
        for (int i = 0; i < perCode; ++i) {
            if (syms[code * perCode + i] == keysym) {
                found = std::uint8_t(setup->min_keycode + code);
                break;
            }
        }
    }
    std::free(map);
    return found;
}

}  // namespace

X11GlobalShortcut::X11GlobalShortcut() {
    if (auto* app = QCoreApplication::instance()) app->installNativeEventFilter(this);
}

X11GlobalShortcut::~X11GlobalShortcut() {
    release();
    if (auto* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

std::optional<std::uint32_t> X11GlobalShortcut::keysymOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::uint32_t('a' + (key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return std::uint32_t(0xffbe + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_Return:
            return 0xff0d;
        case Qt::Key_Tab:
            return 0xff09;
        case Qt::Key_Backspace:
            return 0xff08;
        case Qt::Key_Insert:
            return 0xff63;
        case Qt::Key_Delete:
            return 0xffff;
        case Qt::Key_Home:
            return 0xff50;
        case Qt::Key_End:
            return 0xff57;
        case Qt::Key_Left:
            return 0xff51;
        case Qt::Key_Up:
            return 0xff52;
        case Qt::Key_Right:
            return 0xff53;
        case Qt::Key_Down:
            return 0xff54;
        case Qt::Key_PageUp:
            return 0xff55;
        case Qt::Key_PageDown:
            return 0xff56;
        case Qt::Key_Pause:
            return 0xff13;
        case Qt::Key_Print:
            return 0xff61;
        default:
            break;
    }
    // Digits and punctuation are their own Latin-1 keysyms.
    if (key > 0x20 && key < 0x7f && !(key >= 'A' && key <= 'Z')) return std::uint32_t(key);
    return std::nullopt;
}

void X11GlobalShortcut::release() {
    xcb_connection_t* c = X11Desktop::connection();
    xcb_screen_t* screen = X11Desktop::screen();
    if (keycode_ && c && screen) {
        for (const auto lock : kLockVariants) {
            xcb_ungrab_key(c, keycode_, screen->root, std::uint16_t(modifiers_ | lock));
        }
        xcb_flush(c);
    }
    keycode_ = 0;
    modifiers_ = 0;
}

std::string X11GlobalShortcut::bind(const std::string& keys) {
    release();
    if (keys.empty()) return {};
    xcb_connection_t* c = X11Desktop::connection();
    xcb_screen_t* screen = X11Desktop::screen();
    if (!c || !screen) return "this session offers no way to take keys for her";
    const QKeySequence sequence(QString::fromStdString(keys), QKeySequence::PortableText);
    if (sequence.count() != 1) return "not one key combination";
    const QKeyCombination combination = sequence[0];
    const std::uint16_t modifiers = modifiersOf(combination.keyboardModifiers());
    // A lone letter would be lost to every program she shares the screen with.
    if ((modifiers & ~XCB_MOD_MASK_SHIFT) == 0 &&
        !(combination.key() >= Qt::Key_F1 && combination.key() <= Qt::Key_F35)) {
        return "needs Ctrl, Alt or Super with it";
    }
    const auto keysym = keysymOf(combination.key());
    const std::uint8_t keycode = keysym ? keycodeOf(c, *keysym) : 0;
    if (!keycode) return "that key is not on this keyboard";
    for (const auto lock : kLockVariants) {
        auto cookie = xcb_grab_key_checked(c, 1, screen->root, std::uint16_t(modifiers | lock),
                                           keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            std::free(error);
            keycode_ = keycode;
            modifiers_ = modifiers;
            release();  // the variants taken so far
            return "taken by another program";
        }
    }
    keycode_ = keycode;
    modifiers_ = modifiers;
    return {};
}

bool X11GlobalShortcut::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!keycode_ || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->detail != keycode_ || (press->state & kCounted) != modifiers_) return false;
    if (onActivated) onActivated();
    return true;
}

}  // namespace pelliwig
