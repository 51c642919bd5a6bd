#pragma once

#include <optional>
#include <string>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/content/Reminder.h"
#include "desktop/support/Assets.h"
#include "desktop/support/SpriteSheet.h"
#include "support/QtApplication.h"

namespace pelliwig::testing {

inline Moment moment(std::string line, MomentStyle style = MomentStyle::normal,
                     ReminderKind kind = ReminderKind::water) {
    Moment m;
    m.kind = kind;
    m.line = std::move(line);
    m.style = style;
    return m;
}

// The project's own sheets, on a fixed ordinary day.
inline SpriteSheet projectSprites(Appearance appearance = Appearance::zuzi,
                                  std::optional<std::string> season = std::nullopt) {
    return SpriteSheet(
        [=] {
            return SpriteSheet::Situation{appearance, season, "2025-6-1"};
        },
        [](const QString& name) { return Assets::url(name); });
}

}  // namespace pelliwig::testing
