#include "desktop/app/DesktopEngine.h"

#include <memory>

#include <QDBusConnection>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QUrl>

#include "core/content/LineBank.h"
#include "core/engine/ReminderEngine.h"
#include "core/notch/NotchController.h"
#include "core/notch/NotificationPresenter.h"
#include "core/platform/SystemRandom.h"
#include "core/sensors/ForeignFrontApp.h"
#include "core/support/Clock.h"
#include "core/support/DefaultZone.h"
#include "desktop/app/DesktopPointer.h"
#include "desktop/app/HoverSurface.h"
#include "desktop/app/NotchMenuSurface.h"
#include "desktop/app/ReminderEngineFacade.h"
#include "desktop/notch/NotchPanel.h"
#include "desktop/support/Assets.h"
#include "desktop/support/QtScreens.h"
#include "desktop/support/SpriteSheet.h"
#include "linux/DesktopDoNotDisturb.h"
#include "linux/DesktopMotion.h"
#include "linux/PowerSourcesChooser.h"
#include "linux/SessionSensors.h"
#include "linux/calendar/IcalEventStore.h"
#include "linux/dbus/DBusNotifications.h"
#include "linux/dbus/DBusSystemEvents.h"
#include "linux/dbus/SystemZoneWatcher.h"
#include "linux/hardware/ProcMediaDevices.h"

namespace pelliwig {
namespace {

// Where her panel would be when she speaks as notifications: nowhere.
class NoSurface final : public NotchSurface {
public:
    void build(const NotchGeometry&, const Rect&, NotchModel&) override {}
    void orderFront() override {}
    void orderOut() override {}
};

// Everything the engine runs on, in the order it is built; it outlives the
// engine and goes in reverse order, the controller before its surface.
struct DesktopPlatform {
    DesktopPlatform(const EngineContext& context, DisplayCheck::Presentation presentation)
        : clock(context.scheduler),
          sprites(SpriteSheet::situationFrom(context.prefs, clock),
                  [](const QString& name) { return Assets::url(name); }),
          buttons(random),
          panel(sprites,
                [this, &prefs = context.prefs](const Moment& moment) {
                    return buttons.answers(moment, prefs.language.get());
                }),
          surface(panel, context.openMenuAt),
          sensors(SessionTraits::current().kind, context.scheduler, QDBusConnection::sessionBus()),
          // Her own windows (settings, welcome, menu) are never the app in front.
          front(sensors.frontApp(), [] { return QGuiApplication::focusWindow() != nullptr; }),
          screens([this] { return compositorOutputs(); }),
          pointer(sensors.pointer(), sensors.pointerFd() >= 0,
                  [this](Point device) { return screens.fromDevicePixels(device); }),
          hoverSurface(surface, panel, pointer),
          asNotifications(presentation == DisplayCheck::Presentation::notifications),
          notch(context.scheduler, screens,
                asNotifications ? static_cast<NotchSurface&>(noSurface) : hoverSurface,
                [&prefs = context.prefs] { return prefs.placement(); }),
          power(PowerSourcesChooser::choose(QDBusConnection::systemBus(), context.scheduler)),
          systemEvents(QDBusConnection::systemBus(), QDBusConnection::sessionBus()),
          // Every window, quiet hours and day key follow a zone changed while
          // she runs from the next tick on.
          zone(QDBusConnection::systemBus(), [] { DefaultZone::followSystem(); }),
          doNotDisturb(QDBusConnection::sessionBus()) {
        if (asNotifications) speakAsNotifications(context.prefs);
        watchPointer();
        panel.setMotionReduced([this, &prefs = context.prefs] {
            return prefs.reduceMotion.get() || motion.reduced();
        });
        placementChanged = context.prefs.changed.connect([this, &prefs = context.prefs](auto key) {
            if (key == prefs.notchPosition.key() || key == prefs.notchScreen.key()) {
                notch.refreshPlacement();
            }
        });
    }

    std::vector<QtScreens::CompositorOutput> compositorOutputs() const {
        std::vector<QtScreens::CompositorOutput> outputs;
        for (const auto& output : sensors.compositorOutputs()) {
            outputs.push_back({output.rect, output.usable, output.focused});
        }
        return outputs;
    }

    void speakAsNotifications(Prefs& prefs) {
        const auto picture = Assets::url("icons/pelliwig.png");
        notifications = std::make_unique<DBusNotifications>(
            QDBusConnection::sessionBus(),
            picture ? QUrl::fromLocalFile(*picture).toString() : QStringLiteral("pelliwig"));
        presenter = std::make_unique<NotificationPresenter>(
            notch.model(), *notifications, [this, &prefs](const Moment& moment) {
                return buttons.answers(moment, prefs.language.get());
            });
        notifications->announce(NotificationPresenter::kSummary,
                                "I can't sit at the top of your screen here, so I'll talk to you "
                                "in notifications like this one 💬");
    }

    // Pointer motion arrives on the X connection's socket; it is read only
    // when something is there, so a still pointer costs nothing.
    void watchPointer() {
        if (sensors.pointerFd() < 0) return;
        pointerWatch =
            std::make_unique<QSocketNotifier>(sensors.pointerFd(), QSocketNotifier::Read);
        QObject::connect(pointerWatch.get(), &QSocketNotifier::activated, pointerWatch.get(),
                         [this] {
                             sensors.processPointerEvents();
                             if (sensors.pointerFd() < 0) pointerWatch->setEnabled(false);
                         });
    }

    SystemRandom random;
    Clock clock;
    SpriteSheet sprites;
    // The answer buttons drawn with a moment; the engine's own bank picks lines.
    LineBank buttons;
    NotchPanel panel;
    NotchMenuSurface surface;
    SessionSensors sensors;
    ForeignFrontApp front;
    DesktopMotion motion;
    QtScreens screens;
    DesktopPointer pointer;
    HoverSurface hoverSurface;
    NoSurface noSurface;
    bool asNotifications;
    NotchController notch;
    std::unique_ptr<DBusNotifications> notifications;
    std::unique_ptr<NotificationPresenter> presenter;
    std::unique_ptr<PowerSources> power;
    ProcMediaDevices media;
    IcalEventStore events;
    DBusSystemEvents systemEvents;
    SystemZoneWatcher zone;
    DesktopDoNotDisturb doNotDisturb;
    std::unique_ptr<QSocketNotifier> pointerWatch;
    Connection resumed;
    Connection placementChanged;
};

}  // namespace

std::unique_ptr<EngineFacade> buildDesktopEngine(const EngineContext& context,
                                                 DisplayCheck::Presentation presentation) {
    auto platform = std::make_shared<DesktopPlatform>(context, presentation);
    auto& p = *platform;
    auto engine = std::make_unique<ReminderEngine>(
        p.notch, context.prefs,
        ReminderEngine::Ports{context.scheduler, p.random, context.store, p.sensors.idleTime(),
                              p.front, *p.power, p.media, p.events, p.pointer, p.doNotDisturb,
                              p.sensors.fullScreen()});
    p.resumed = p.systemEvents.onResumed([&engine = *engine] { engine.resumed(); });
    engine->desktopReducesMotion = [&p] { return p.motion.reduced(); };
    const bool seesFrontApp = p.sensors.seesFrontApp();
    NotchAccess notch{p.notch.model(),
                      [&p, &prefs = context.prefs](const Moment& moment) {
                          return p.buttons.answers(moment, prefs.language.get());
                      },
                      [&p] { return p.panel.takeKeyboard(); }};
    return std::make_unique<ReminderEngineFacade>(std::move(platform), std::move(engine),
                                                  seesFrontApp, std::move(notch));
}

}  // namespace pelliwig
