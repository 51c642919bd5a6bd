#include "desktop/support/SpriteSheet.h"

#include <utility>

#include "core/notch/SpriteChoice.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"
#include "core/support/Enum.h"

namespace pelliwig {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr QImage::Format kDrawable = QImage::Format_ARGB32_Premultiplied;

// Cells are drawn in premultiplied ARGB, whatever the sheet held.
QImage drawable(const QImage& cell) {
    return cell.format() == kDrawable ? cell : cell.convertToFormat(kDrawable);
}

// A cell with nothing drawn in it counts as missing, so a sheet with a gap
// still falls back to a face that exists.
bool blank(const QImage& stored) {
    const QImage cell = drawable(stored);
    for (int y = 0; y < cell.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
        for (int x = 0; x < cell.width(); ++x) {
            if (qAlpha(row[x]) != 0) return false;
        }
    }
    return true;
}

}  // namespace

SpriteSheet::SpriteSheet(SituationSource situation, Locate locate)
    : situation_(std::move(situation)), locate_(std::move(locate)) {}

SpriteSheet::SituationSource SpriteSheet::situationFrom(const Prefs& prefs, const Clock& clock) {
    return [&prefs, &clock] {
        const Instant now = clock.now();
        return Situation{prefs.appearance.get(),
                         SpriteChoice::season(clock.monthDay(now), prefs.specialDates.get()),
                         clock.dayKey(now)};
    };
}

QImage SpriteSheet::image(const Face& face) {
    reloadIfNeeded();
    if (const Mood* mood = std::get_if<Mood>(&face.value)) {
        if (auto found = moods_.find(*mood); found != moods_.end()) return drawable(found->second);
    } else {
        const Pose pose = std::get<Pose>(face.value);
        if (auto found = poses_.find(pose); found != poses_.end()) return drawable(found->second);
        if (auto found = moods_.find(SpriteChoice::fallbackMood(pose)); found != moods_.end()) {
            return drawable(found->second);
        }
    }
    if (auto found = moods_.find(Mood::happy); found != moods_.end()) {
        return drawable(found->second);
    }
    return {};
}

void SpriteSheet::reloadIfNeeded() {
    const Situation now = situation_();
    std::string key = SpriteChoice::reloadKey(now.appearance, now.season, now.dayKey);
    if (key == loadedKey_) return;
    loadedKey_ = std::move(key);
    std::optional<QString> moodFile;
    if (now.season)
        moodFile = locate_(qt(SpriteChoice::seasonalMoodSheet(now.appearance, *now.season)));
    if (!moodFile) moodFile = locate_(qt(SpriteChoice::moodSheet(now.appearance)));
    moods_ = slice<Mood>(moodFile);
    poses_ = slice<Pose>(locate_(qt(SpriteChoice::poseSheet(now.appearance))));
}

// Palette sheets keep their cells as palette images, a quarter of the memory
// of ARGB for as long as she runs; a cell is converted only when it is drawn,
// once per moment. Other sheets are converted to premultiplied ARGB at once.
template <typename Item>
std::map<Item, QImage> SpriteSheet::slice(const std::optional<QString>& file) const {
    std::map<Item, QImage> cells;
    if (!file) return cells;
    QImage sheet(*file);
    if (sheet.isNull()) return cells;
    if (sheet.format() != QImage::Format_Indexed8) sheet = sheet.convertToFormat(kDrawable);
    const QRect bounds = sheet.rect();
    for (const Item item : allCases<Item>()) {
        const auto c = SpriteChoice::cell(static_cast<int>(item), sheet.width(), sheet.height());
        const QRect rect(c.x, c.y, c.width, c.height);
        if (rect.isEmpty() || !bounds.contains(rect)) continue;
        QImage cell = sheet.copy(rect);
        if (cell.isNull() || blank(cell)) continue;
        cells.emplace(item, std::move(cell));
    }
    return cells;
}

}  // namespace pelliwig
