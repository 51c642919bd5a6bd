#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QImage>
#include <QWidget>

#include "core/engine/Diary.h"
#include "core/platform/Scheduler.h"

class QAbstractButton;
class QLabel;

namespace pelliwig {

class DiaryChartView;

// Her diary, "Your week": her face and line for how the week went, the last
// 7 or 21 days in figures and charts, today's growing while the window is
// open. It only draws what `source` computes; the scheduler and whatever the
// two functions use must outlive it.
class DiaryWindow final : public QWidget {
    Q_OBJECT

public:
    // The diary of that many days up to today.
    using Source = std::function<Diary(int span)>;
    // Her picture for a face; a null image leaves the place empty.
    using Portrait = std::function<QImage(const Face& face)>;

    // How often an open window looks at her memory again. Her engine records
    // a tick every 30 seconds and an answer at once.
    static constexpr double kRefreshSeconds = 5;
    static constexpr int kPortraitSize = 84;

    DiaryWindow(Source source, Portrait portrait, Scheduler& scheduler, QWidget* parent = nullptr);

    // Shows the window in front of the others, centred the first time.
    void showAndRaise();

    // 7 or 21.
    int span() const { return span_; }
    void setSpan(int span);

    // What is drawn now.
    const Diary& diary() const { return diary_; }
    // Reads her memory again and redraws what changed.
    void refresh();

    const std::vector<DiaryChartView*>& charts() const { return charts_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildSpanButtons();
    QWidget* buildTiles();
    void display(const Diary& diary);
    void showPortrait(const Face& face);

    Source source_;
    Portrait portrait_;
    Scheduler& scheduler_;
    int span_ = Diary::kWeek;
    Diary diary_;
    std::optional<Face> shownFace_;
    qreal shownRatio_ = 0;
    TaskHandle refreshTask_;
    bool centred_ = false;

    QLabel* portraitLabel_ = nullptr;
    QLabel* line_ = nullptr;
    QLabel* subtitle_ = nullptr;
    QAbstractButton* week_ = nullptr;
    QAbstractButton* weeks_ = nullptr;
    struct Tile {
        QLabel* value;
        QLabel* caption;
    };
    std::vector<Tile> tiles_;
    std::vector<DiaryChartView*> charts_;
};

}  // namespace pelliwig
