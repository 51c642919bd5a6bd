#include <dlfcn.h>
#include <gio/gio.h>

#include "linux/dbus/GSettingsDoNotDisturb.h"

#include <cstring>
#include <string>
#include <string_view>

namespace pelliwig {
namespace {

// GIO is opened only when this reader is wanted, not linked: loading it
// (with GObject, libmount and libselinux behind it) costs about 1.5 MB of
// every process that merely links it, on desktops where nothing reads it.
struct Gio {
    decltype(&g_settings_schema_source_get_default) schemaSourceGetDefault;
    decltype(&g_settings_schema_source_lookup) schemaSourceLookup;
    decltype(&g_settings_schema_has_key) schemaHasKey;
    decltype(&g_settings_schema_unref) schemaUnref;
    decltype(&g_settings_new_full) settingsNewFull;
    decltype(&g_settings_get_boolean) getBoolean;
    decltype(&g_signal_connect_data) signalConnectData;
    decltype(&g_signal_handler_disconnect) signalHandlerDisconnect;
    decltype(&g_object_unref) objectUnref;
    bool loaded = false;
};

template <typename Function>
bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

Gio load() {
    Gio gio{};
    // Never closed: GSettings keeps threads and types of its own once used.
    void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) return gio;
    gio.loaded =
        resolve(library, "g_settings_schema_source_get_default", gio.schemaSourceGetDefault) &&
        resolve(library, "g_settings_schema_source_lookup", gio.schemaSourceLookup) &&
        resolve(library, "g_settings_schema_has_key", gio.schemaHasKey) &&
        resolve(library, "g_settings_schema_unref", gio.schemaUnref) &&
        resolve(library, "g_settings_new_full", gio.settingsNewFull) &&
        resolve(library, "g_settings_get_boolean", gio.getBoolean) &&
        resolve(library, "g_signal_connect_data", gio.signalConnectData) &&
        resolve(library, "g_signal_handler_disconnect", gio.signalHandlerDisconnect) &&
        resolve(library, "g_object_unref", gio.objectUnref);
    return gio;
}

const Gio& gio() {
    static const Gio functions = load();
    return functions;
}

// The schema with the key, or null; the caller owns the reference.
GSettingsSchema* findSchema(GSettingsSchemaSource* source, const char* id, const char* key) {
    if (!source) source = gio().schemaSourceGetDefault();
    if (!source) return nullptr;
    GSettingsSchema* schema = gio().schemaSourceLookup(source, id, TRUE);
    if (schema && !gio().schemaHasKey(schema, key)) {
        gio().schemaUnref(schema);
        return nullptr;
    }
    return schema;
}

}  // namespace

std::unique_ptr<GSettingsSwitch> GSettingsSwitch::open(const char* schemaId, const char* key,
                                                       GSettingsSchemaSource* source,
                                                       GSettingsBackend* backend) {
    if (!gio().loaded) return nullptr;
    GSettingsSchema* schema = findSchema(source, schemaId, key);
    if (!schema) return nullptr;
    GSettings* settings = gio().settingsNewFull(schema, backend, nullptr);
    gio().schemaUnref(schema);
    return std::unique_ptr<GSettingsSwitch>(new GSettingsSwitch(settings, key));
}

GSettingsSwitch::GSettingsSwitch(GSettings* settings, const char* key)
    : settings_(settings), key_(key) {
    read();
    auto changed = +[](GSettings*, const char*, gpointer self) {
        static_cast<GSettingsSwitch*>(self)->read();
    };
    const std::string signal = std::string("changed::") + key;
    handler_ = gio().signalConnectData(settings_, signal.c_str(), G_CALLBACK(changed), this,
                                       nullptr, GConnectFlags(0));
}

GSettingsSwitch::~GSettingsSwitch() {
    gio().signalHandlerDisconnect(settings_, handler_);
    gio().objectUnref(settings_);
}

void GSettingsSwitch::read() {
    value_ = gio().getBoolean(settings_, key_);
}

std::unique_ptr<GSettingsDoNotDisturb> GSettingsDoNotDisturb::open(GSettingsSchemaSource* source,
                                                                   GSettingsBackend* backend) {
    auto showBanners =
        GSettingsSwitch::open("org.gnome.desktop.notifications", "show-banners", source, backend);
    if (!showBanners) return nullptr;
    return std::unique_ptr<GSettingsDoNotDisturb>(
        new GSettingsDoNotDisturb(std::move(showBanners)));
}

}  // namespace pelliwig
