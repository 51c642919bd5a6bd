#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace pelliwig {

struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
// A reply (or anything else) xcb allocated for us.
template <typename T>
using XcbPtr = std::unique_ptr<T, XcbFree>;

// One connection to the X server, shared by the sources that ask it
// questions on each tick (idle time, focused window). Failure is quiet: a
// missing or dead display leaves ok() false and every query answers nothing.
class XcbConnection {
public:
    // Connects to `display` (":0"), or to $DISPLAY when it is empty.
    explicit XcbConnection(const std::string& display = {});
    // Asks its questions on a connection someone else made and keeps open
    // (Qt's own), about the screen whose root window is `root`.
    XcbConnection(xcb_connection_t* borrowed, xcb_window_t root);
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    // Connected and no error since; a server that went away turns this false.
    bool ok() const;
    // Null when the connection was never made.
    xcb_connection_t* get() const { return ok() ? connection_ : nullptr; }
    // The root window of the default screen; 0 when not connected.
    xcb_window_t root() const { return ok() ? root_ : 0; }
    // The socket, for watching it in an event loop; -1 when not connected.
    int fd() const;

    // The atom of `name`, interned once; XCB_ATOM_NONE when that fails.
    xcb_atom_t atom(const std::string& name);
    // The reply to a request sent with `cookie`, read with its xcb_*_reply
    // function; nothing on an error, which is dropped here rather than left
    // to pile up in the event queue.
    template <typename Reply, typename Cookie>
    XcbPtr<Reply> reply(Reply* (*read)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
                        Cookie cookie) {
        if (!ok()) return nullptr;
        xcb_generic_error_t* error = nullptr;
        XcbPtr<Reply> result(read(connection_, cookie, &error));
        const bool failed = error != nullptr;
        std::free(error);
        if (failed) return nullptr;
        return result;
    }

    // The value of property `name` of `window`, of `type`, up to `length`
    // 32-bit units; null when the window has none or it is empty.
    XcbPtr<xcb_get_property_reply_t> property(xcb_window_t window, const std::string& name,
                                              xcb_atom_t type, uint32_t length = 1024);
    // Whether some client owns the selection `name` (a manager's claim on
    // the screen, such as _NET_WM_CM_S0).
    bool selectionOwned(const std::string& name);

    // The major opcode of an extension the server offers; 0 when it lacks it.
    int extensionOpcode(xcb_extension_t* extension) const;

    // The window manager's _NET_ACTIVE_WINDOW; XCB_WINDOW_NONE without an
    // EWMH window manager or when no window is active.
    xcb_window_t activeWindow();

    // Drops queued events. A connection that selects none still gets a few
    // (MappingNotify), which pile up if no one reads them.
    void discardEvents();

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    bool owned_ = true;
    std::map<std::string, xcb_atom_t> atoms_;
};

}  // namespace pelliwig
