#pragma once

namespace pelliwig::X11Desktop {

// True on an X11 session whose compositing manager blends see-through
// windows; false without one and on other platforms, where a window shows
// only what its shape mask keeps.
bool compositing();

}  // namespace pelliwig::X11Desktop
