#pragma once

#include <memory>

#include "core/platform/DoNotDisturb.h"

// GLib's own names, declared here so that no GLib header (whose struct
// members clash with Qt's keywords) reaches the files that include this one.
typedef struct _GSettings GSettings;
typedef struct _GSettingsBackend GSettingsBackend;
typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

namespace pelliwig {

// GNOME: "Do Not Disturb" in the shell is show-banners turned off in
// org.gnome.desktop.notifications. Read once through GSettings and then
// followed through its change signal, which arrives on the main loop.
class GSettingsDoNotDisturb final : public DoNotDisturb {
public:
    // Nothing when the schema is not installed, as on desktops other than
    // GNOME (GSettings would abort on a missing schema). No source: the
    // system's schemas; no backend: the user's settings (dconf).
    static std::unique_ptr<GSettingsDoNotDisturb> open(GSettingsSchemaSource* source = nullptr,
                                                       GSettingsBackend* backend = nullptr);
    ~GSettingsDoNotDisturb() override;
    GSettingsDoNotDisturb(const GSettingsDoNotDisturb&) = delete;
    GSettingsDoNotDisturb& operator=(const GSettingsDoNotDisturb&) = delete;

    bool on() const override { return on_; }

private:
    explicit GSettingsDoNotDisturb(GSettings* settings);
    void read();

    GSettings* settings_;
    unsigned long handler_ = 0;
    bool on_ = false;
};

}  // namespace pelliwig
