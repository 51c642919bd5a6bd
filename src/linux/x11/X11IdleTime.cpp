#include "linux/x11/X11IdleTime.h"

#include <xcb/screensaver.h>

#include <utility>

namespace pelliwig {

X11IdleTime::X11IdleTime(std::shared_ptr<XcbConnection> connection)
    : connection_(std::move(connection)) {}

double X11IdleTime::seconds() const {
    XcbConnection& x = *connection_;
    x.discardEvents();
    if (x.extensionOpcode(&xcb_screensaver_id) == 0) return 0;
    const auto info =
        x.reply(xcb_screensaver_query_info_reply, xcb_screensaver_query_info(x.get(), x.root()));
    return info ? info->ms_since_user_input / 1000.0 : 0;
}

}  // namespace pelliwig
