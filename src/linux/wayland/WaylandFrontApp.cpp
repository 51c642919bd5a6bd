#include "linux/wayland/WaylandFrontApp.h"

#include <wayland-client.h>

#include <algorithm>
#include <utility>

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace pelliwig {

namespace {

using Toplevel = WaylandFrontApp::Toplevel;

Toplevel& toplevelOf(void* data) {
    return *static_cast<Toplevel*>(data);
}

// The states arrive as an array of uint32 values.
void readStates(Toplevel& toplevel, const wl_array* states) {
    toplevel.pendingActivated = toplevel.pendingFullscreen = false;
    const auto* values = static_cast<const std::uint32_t*>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        if (values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) {
            toplevel.pendingActivated = true;
        }
        if (values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN) {
            toplevel.pendingFullscreen = true;
        }
    }
}

void ignoreString(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void ignoreOutput(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

}  // namespace

// Called by the handle listener, which cannot reach the private members.
struct WaylandFrontAppEvents {
    static void done(void* data, zwlr_foreign_toplevel_handle_v1*) {
        Toplevel& toplevel = toplevelOf(data);
        toplevel.owner->applied(toplevel);
    }
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
        Toplevel& toplevel = toplevelOf(data);
        toplevel.owner->closed(toplevel);
    }
};

namespace {

constexpr zwlr_foreign_toplevel_handle_v1_listener kToplevelListener{
    .title = ignoreString,
    .app_id = [](void* data, zwlr_foreign_toplevel_handle_v1*,
                 const char* appId) { toplevelOf(data).pendingAppId = appId ? appId : ""; },
    .output_enter = ignoreOutput,
    .output_leave = ignoreOutput,
    .state = [](void* data, zwlr_foreign_toplevel_handle_v1*,
                wl_array* states) { readStates(toplevelOf(data), states); },
    .done = WaylandFrontAppEvents::done,
    .closed = WaylandFrontAppEvents::closed,
    .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

}  // namespace

WaylandFrontApp::WaylandFrontApp(std::shared_ptr<WaylandConnection> connection,
                                 std::unique_ptr<DesktopEntryIndex> entries)
    : connection_(std::move(connection)), entries_(std::move(entries)) {
    manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        connection_->bind(zwlr_foreign_toplevel_manager_v1_interface, 3));
    if (!manager_) return;
    static const zwlr_foreign_toplevel_manager_v1_listener listener{&WaylandFrontApp::added,
                                                                    &WaylandFrontApp::finished};
    zwlr_foreign_toplevel_manager_v1_add_listener(manager_, &listener, this);
    // The windows that exist now arrive at once, so the first tick knows them.
    connection_->roundtrip();
    lost_ = connection_->onLost([this] { active_ = nullptr; });
}

WaylandFrontApp::~WaylandFrontApp() {
    forgetAll();
    if (manager_) zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    connection_->flush();
}

void WaylandFrontApp::added(void* self, zwlr_foreign_toplevel_manager_v1*,
                            zwlr_foreign_toplevel_handle_v1* handle) {
    auto& app = *static_cast<WaylandFrontApp*>(self);
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->handle = handle;
    toplevel->owner = &app;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevelListener, toplevel.get());
    app.toplevels_.push_back(std::move(toplevel));
}

// The compositor stopped listing windows; nothing will be activated again.
void WaylandFrontApp::finished(void* self, zwlr_foreign_toplevel_manager_v1*) {
    auto& app = *static_cast<WaylandFrontApp*>(self);
    app.forgetAll();
    zwlr_foreign_toplevel_manager_v1_destroy(app.manager_);
    app.manager_ = nullptr;
}

void WaylandFrontApp::applied(Toplevel& toplevel) {
    toplevel.appId = toplevel.pendingAppId;
    toplevel.activated = toplevel.pendingActivated;
    toplevel.fullscreen = toplevel.pendingFullscreen;
    if (toplevel.activated) {
        active_ = &toplevel;
    } else if (active_ == &toplevel) {
        active_ = nullptr;
    }
}

void WaylandFrontApp::closed(Toplevel& toplevel) {
    if (active_ == &toplevel) active_ = nullptr;
    zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    std::erase_if(toplevels_, [&](const auto& t) { return t.get() == &toplevel; });
}

void WaylandFrontApp::forgetAll() {
    active_ = nullptr;
    for (const auto& toplevel : toplevels_)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    toplevels_.clear();
}

std::optional<std::string> WaylandFrontApp::name() const {
    if (!active_ || active_->appId.empty()) return std::nullopt;
    const std::string& appId = active_->appId;
    if (auto entryName = entries_->nameFor(appId, appId)) return entryName;
    return appId;
}

bool WaylandFrontApp::activatedFullscreen() const {
    return active_ && active_->fullscreen;
}

}  // namespace pelliwig
