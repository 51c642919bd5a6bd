#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include <QImage>
#include <QString>

#include "core/content/Appearance.h"
#include "core/content/Reminder.h"

namespace pelliwig {

class Clock;
class Prefs;

// Her pictures: the mood and pose sheets of the chosen appearance, cut into
// cells, reloaded only when the appearance, the season or the day changes.
class SpriteSheet {
public:
    // What decides which sheets are loaded.
    struct Situation {
        Appearance appearance = Appearance::zuzi;
        std::optional<std::string> season;
        std::string dayKey;
    };
    using SituationSource = std::function<Situation()>;
    // Finds the file of a resource name; Assets::url in the application.
    using Locate = std::function<std::optional<QString>(const QString& name)>;

    SpriteSheet(SituationSource situation, Locate locate);

    // The situation from the user's appearance and special dates, on today's
    // date.
    static SituationSource situationFrom(const Prefs& prefs, const Clock& clock);

    // The picture for a face: a pose falls back to its mood, anything missing
    // to happy; a null image when even that is missing.
    QImage image(const Face& face);

    // The key of the sheets now loaded.
    const std::string& loadedKey() const { return loadedKey_; }

private:
    void reloadIfNeeded();
    template <typename Item>
    std::map<Item, QImage> slice(const std::optional<QString>& file) const;

    SituationSource situation_;
    Locate locate_;
    std::string loadedKey_;
    std::map<Mood, QImage> moods_;
    std::map<Pose, QImage> poses_;
};

}  // namespace pelliwig
