#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/FrontApp.h"
#include "core/support/Signal.h"
#include "linux/wayland/WaylandConnection.h"
#include "linux/xdg/DesktopEntryIndex.h"

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

namespace pelliwig {

// The focused application from compositors that list their windows to
// clients through zwlr_foreign_toplevel_manager_v1 (sway, labwc, wayfire,
// Hyprland, …): the app_id of the activated window, named by its desktop
// entry, else the app_id itself. Titles arrive too but are never kept: they
// can hold document names, and only the application's name may be read.
class WaylandFrontApp final : public FrontApp {
public:
    WaylandFrontApp(
        std::shared_ptr<WaylandConnection> connection,
        std::unique_ptr<DesktopEntryIndex> entries = std::make_unique<DesktopEntryIndex>());
    ~WaylandFrontApp();
    WaylandFrontApp(const WaylandFrontApp&) = delete;
    WaylandFrontApp& operator=(const WaylandFrontApp&) = delete;

    // True when the compositor offers the window list.
    bool watching() const { return manager_ != nullptr; }
    // Nothing while no window is activated or its app_id is empty.
    std::optional<std::string> name() const override;
    // The activated window covers its screen (a film, a game, a talk).
    bool activatedFullscreen() const;

    // One window as the compositor last described it (after its "done").
    struct Toplevel {
        zwlr_foreign_toplevel_handle_v1* handle = nullptr;
        WaylandFrontApp* owner = nullptr;
        std::string appId, pendingAppId;
        bool activated = false, fullscreen = false;
        bool pendingActivated = false, pendingFullscreen = false;
    };

private:
    friend struct WaylandFrontAppEvents;
    static void added(void* self, zwlr_foreign_toplevel_manager_v1*,
                      zwlr_foreign_toplevel_handle_v1* handle);
    static void finished(void* self, zwlr_foreign_toplevel_manager_v1*);
    void applied(Toplevel& toplevel);
    void closed(Toplevel& toplevel);
    void forgetAll();

    std::shared_ptr<WaylandConnection> connection_;
    std::unique_ptr<DesktopEntryIndex> entries_;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    std::vector<std::unique_ptr<Toplevel>> toplevels_;
    const Toplevel* active_ = nullptr;
    Connection lost_;
};

}  // namespace pelliwig
