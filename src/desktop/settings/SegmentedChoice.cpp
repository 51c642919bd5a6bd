#include "desktop/settings/SegmentedChoice.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace pelliwig {
namespace {

// Palette roles, so the look follows the desktop's light or dark theme.
constexpr const char* kStyle =
    "QPushButton { padding: 4px 12px; border: 1px solid palette(mid);"
    "  background: palette(button); color: palette(button-text); }"
    "QPushButton:checked { background: palette(highlight); color: palette(highlighted-text);"
    "  border-color: palette(highlight); font-weight: 600; }"
    "QPushButton:focus { border: 2px solid palette(highlight); }"
    "QPushButton:checked:focus { border: 2px solid palette(text); }"
    "QPushButton[position=\"first\"] { border-top-left-radius: 5px;"
    "  border-bottom-left-radius: 5px; }"
    "QPushButton[position=\"last\"] { border-top-right-radius: 5px;"
    "  border-bottom-right-radius: 5px; }";

}  // namespace

SegmentedChoice::SegmentedChoice(const QString& name, const QStringList& titles,
                                 const QStringList& names, QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    setAccessibleName(name);
    setStyleSheet(kStyle);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < titles.size(); ++i) {
        auto* segment = new QPushButton(titles[i], this);
        segment->setObjectName(i < names.size() ? names[i] : QString());
        segment->setCheckable(true);
        segment->setAutoDefault(false);
        segment->setAccessibleName(titles[i]);
        segment->setAccessibleDescription(name);
        if (i == 0) segment->setProperty("position", "first");
        if (i == titles.size() - 1) segment->setProperty("position", "last");
        segment->installEventFilter(this);
        group_->addButton(segment, i);
        layout->addWidget(segment);
        segments_.push_back(segment);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int index) {
        updateTabStop();
        emit picked(index);
    });
    updateTabStop();
}

void SegmentedChoice::setCurrent(int index) {
    if (index < 0 || index >= count()) return;
    const bool hadFocus =
        segments_[static_cast<std::size_t>(current() < 0 ? 0 : current())]->hasFocus();
    segments_[static_cast<std::size_t>(index)]->setChecked(true);
    updateTabStop();
    if (hadFocus) segments_[static_cast<std::size_t>(index)]->setFocus();
}

int SegmentedChoice::current() const {
    return group_->checkedId();
}

QAbstractButton* SegmentedChoice::segment(int index) const {
    return index >= 0 && index < count() ? segments_[static_cast<std::size_t>(index)] : nullptr;
}

// Only the chosen segment (the first while none is) takes Tab; all take a click.
void SegmentedChoice::updateTabStop() {
    const int chosen = current() < 0 ? 0 : current();
    for (int i = 0; i < count(); ++i) {
        segments_[static_cast<std::size_t>(i)]->setFocusPolicy(i == chosen ? Qt::StrongFocus
                                                                           : Qt::ClickFocus);
    }
}

void SegmentedChoice::choose(int index, bool focus) {
    if (index < 0 || index >= count() || index == current()) return;
    QAbstractButton* segment = segments_[static_cast<std::size_t>(index)];
    segment->click();  // checks it and tells, as a click does
    if (focus) segment->setFocus(Qt::TabFocusReason);
}

bool SegmentedChoice::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int at = current() < 0 ? 0 : current();
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            choose(at - 1, true);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Down:
            choose(at + 1, true);
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

}  // namespace pelliwig
