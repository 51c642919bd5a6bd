#pragma once

#include <memory>
#include <utility>

#include "core/platform/DoNotDisturb.h"

// GLib's own names, declared here so that no GLib header (whose struct
// members clash with Qt's keywords) reaches the files that include this one.
typedef struct _GSettings GSettings;
typedef struct _GSettingsBackend GSettingsBackend;
typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

namespace pelliwig {

// One boolean key of GSettings, read once and then followed through its
// change signal, which arrives on the main loop.
class GSettingsSwitch {
public:
    // Nothing when the schema or its key is not installed, as on desktops
    // other than GNOME (GSettings would abort on a missing schema). No
    // source: the system's schemas; no backend: the user's settings (dconf).
    static std::unique_ptr<GSettingsSwitch> open(const char* schema, const char* key,
                                                 GSettingsSchemaSource* source = nullptr,
                                                 GSettingsBackend* backend = nullptr);
    ~GSettingsSwitch();
    GSettingsSwitch(const GSettingsSwitch&) = delete;
    GSettingsSwitch& operator=(const GSettingsSwitch&) = delete;

    bool value() const { return value_; }

private:
    GSettingsSwitch(GSettings* settings, const char* key);
    void read();

    GSettings* settings_;
    const char* key_;
    unsigned long handler_ = 0;
    bool value_ = false;
};

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

    bool on() const override { return !showBanners_->value(); }

private:
    explicit GSettingsDoNotDisturb(std::unique_ptr<GSettingsSwitch> showBanners)
        : showBanners_(std::move(showBanners)) {}

    std::unique_ptr<GSettingsSwitch> showBanners_;
};

}  // namespace pelliwig
