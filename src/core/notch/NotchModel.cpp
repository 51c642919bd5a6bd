#include "core/notch/NotchModel.h"

#include <utility>

namespace pelliwig {

void NotchModel::setMoment(std::optional<Moment> moment, ThemeAnimation animation) {
    if (moment == moment_) return;
    moment_ = std::move(moment);
    changed(Change{Field::moment, animation});
}

void NotchModel::setShown(bool shown, ThemeAnimation animation) {
    if (shown == isShown_) return;
    isShown_ = shown;
    changed(Change{Field::isShown, animation});
}

void NotchModel::setBubbleShown(bool shown, ThemeAnimation animation) {
    if (shown == isBubbleShown_) return;
    isBubbleShown_ = shown;
    changed(Change{Field::isBubbleShown, animation});
}

}  // namespace pelliwig
