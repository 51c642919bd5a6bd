#include <gio/gio.h>

#include "linux/GSettingsDoNotDisturb.h"

namespace pelliwig {
namespace {

constexpr const char* kSchema = "org.gnome.desktop.notifications";
constexpr const char* kShowBanners = "show-banners";

// The schema with the key, or null; the caller owns the reference.
GSettingsSchema* findSchema(GSettingsSchemaSource* source) {
    if (!source) source = g_settings_schema_source_get_default();
    if (!source) return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
    if (schema && !g_settings_schema_has_key(schema, kShowBanners)) {
        g_settings_schema_unref(schema);
        return nullptr;
    }
    return schema;
}

}  // namespace

std::unique_ptr<GSettingsDoNotDisturb> GSettingsDoNotDisturb::open(GSettingsSchemaSource* source,
                                                                   GSettingsBackend* backend) {
    GSettingsSchema* schema = findSchema(source);
    if (!schema) return nullptr;
    GSettings* settings = g_settings_new_full(schema, backend, nullptr);
    g_settings_schema_unref(schema);
    return std::unique_ptr<GSettingsDoNotDisturb>(new GSettingsDoNotDisturb(settings));
}

GSettingsDoNotDisturb::GSettingsDoNotDisturb(GSettings* settings) : settings_(settings) {
    read();
    auto changed = +[](GSettings*, const char*, gpointer self) {
        static_cast<GSettingsDoNotDisturb*>(self)->read();
    };
    handler_ = g_signal_connect(settings_, "changed::show-banners", G_CALLBACK(changed), this);
}

GSettingsDoNotDisturb::~GSettingsDoNotDisturb() {
    g_signal_handler_disconnect(settings_, handler_);
    g_object_unref(settings_);
}

void GSettingsDoNotDisturb::read() {
    on_ = !g_settings_get_boolean(settings_, kShowBanners);
}

}  // namespace pelliwig
