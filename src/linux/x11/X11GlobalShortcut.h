#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QAbstractNativeEventFilter>

#include "core/platform/GlobalShortcut.h"

namespace pelliwig {

// A key grab on the X root window, on Qt's own connection: the server sends
// the combination to her whatever window has the focus. With Caps Lock or
// Num Lock on it counts the same. Where there is no X connection (a native
// Wayland session) nothing can be taken.
class X11GlobalShortcut final : public GlobalShortcut, public QAbstractNativeEventFilter {
public:
    X11GlobalShortcut();
    ~X11GlobalShortcut() override;
    X11GlobalShortcut(const X11GlobalShortcut&) = delete;
    X11GlobalShortcut& operator=(const X11GlobalShortcut&) = delete;

    std::string bind(const std::string& keys) override;

    // The X keysym of a Qt key, for the keys a shortcut may use; nothing for
    // the others.
    static std::optional<std::uint32_t> keysymOf(int qtKey);

protected:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void release();

    std::uint8_t keycode_ = 0;  // 0: nothing taken
    std::uint16_t modifiers_ = 0;
};

}  // namespace pelliwig
