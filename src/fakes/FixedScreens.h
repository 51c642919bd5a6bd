#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "core/platform/Screens.h"

namespace pelliwig {

// Screens set by the test. By default the main screen is the first one listed;
// change() swaps the arrangement and notifies like a display being plugged in.
class FixedScreens final : public Screens {
public:
    FixedScreens() = default;
    explicit FixedScreens(std::vector<Screen> screens, double menuBarHeight = 24)
        : screens_(std::move(screens)), menuBarHeight_(menuBarHeight) {}

    std::vector<Screen> screens() const override { return screens_; }
    std::optional<Screen> mainScreen() const override {
        if (mainIndex_ && *mainIndex_ < screens_.size()) return screens_[*mainIndex_];
        return std::nullopt;
    }
    double menuBarHeight() const override { return menuBarHeight_; }
    std::optional<std::string> pointerScreen() const override { return pointerScreen_; }
    Connection onChange(std::function<void()> callback) override {
        return changed_.connect(std::move(callback));
    }

    // Which listed screen is the main one; none for no main screen.
    void setMainIndex(std::optional<std::size_t> index) { mainIndex_ = index; }
    void setMenuBarHeight(double height) { menuBarHeight_ = height; }
    void setPointerScreen(std::optional<std::string> name) { pointerScreen_ = std::move(name); }

    // A new arrangement, announced to observers.
    void change(std::vector<Screen> screens, std::optional<std::size_t> mainIndex = 0) {
        screens_ = std::move(screens);
        mainIndex_ = mainIndex;
        changed_();
    }

    bool hasListeners() const { return !changed_.empty(); }

private:
    std::vector<Screen> screens_;
    std::optional<std::size_t> mainIndex_ = 0;
    double menuBarHeight_ = 24;
    std::optional<std::string> pointerScreen_;
    Signal<> changed_;
};

}  // namespace pelliwig
