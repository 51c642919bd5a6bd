// Cost of drawing the notch view in software, against the 16.7 ms a frame
// has at 60 frames a second (the goal is well under 4 ms): one frame of the
// bubble's entrance and of its exit, each painting the whole panel, and the
// one-off cost of laying out and pre-rendering a bubble when a moment comes.
#include <cstdlib>

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include "core/content/LineBank.h"
#include "core/notch/NotchController.h"
#include "desktop/notch/Bubble.h"
#include "desktop/notch/NotchView.h"
#include "desktop/support/Assets.h"
#include "desktop/support/SpriteSheet.h"
#include "fakes/SeededRandom.h"

namespace pelliwig {
namespace {

constexpr double kFrame = 1.0 / 60;
// The entrance is over by then: 0.18 s delay and the spring's settling.
constexpr int kEntranceFrames = 45;
constexpr int kExitFrames = 30;

QApplication& application() {
    static int argc = 1;
    static char name[] = "NotchPaintBench";
    static char* argv[] = {name, nullptr};
    // Software rendering without a display, unless told otherwise.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    return app;
}

Moment water() {
    Moment m;
    m.kind = ReminderKind::water;
    m.line = "Water break! Your brain is 75% water, so go refill it.";
    return m;
}

// A view of the usual panel size with its own clock and the project's art.
struct Stage {
    Stage()
        : bank(random),
          sprites(
              [] {
                  return SpriteSheet::Situation{Appearance::zuzi, std::nullopt, "2025-6-1"};
              },
              [](const QString& name) { return Assets::url(name); }),
          view(model, QSizeF(200, 32), sprites,
               [this](const Moment& m) { return bank.answers(m, Language::english); }) {
        view.setAnimationClock([this] { return now; });
        view.resize(200 + int(NotchController::kPanelExtraWidth),
                    32 + int(NotchController::kPanelExtraHeight));
        frame = QImage(view.size(), QImage::Format_ARGB32_Premultiplied);
    }

    void paintAt(double time) {
        now = time;
        view.advance();
        frame.fill(Qt::transparent);
        view.render(&frame, {}, {}, QWidget::DrawChildren);
    }

    QApplication& app = application();  // before any widget
    double now = 100;
    SeededRandom random;
    LineBank bank;
    NotchModel model;
    SpriteSheet sprites;
    NotchView view;
    QImage frame;
};

void BM_EntranceFrame(benchmark::State& state) {
    Stage stage;
    stage.model.setMoment(water());
    const double start = stage.now;
    stage.model.setShown(true, ThemeAnimation::showSpring);
    stage.model.setBubbleShown(true, ThemeAnimation::showSpring);
    int frame = 0;
    for (auto _ : state) {
        stage.paintAt(start + (frame++ % kEntranceFrames) * kFrame);
        benchmark::DoNotOptimize(stage.frame.constBits());
    }
}
BENCHMARK(BM_EntranceFrame)->Unit(benchmark::kMicrosecond);

void BM_ExitFrame(benchmark::State& state) {
    Stage stage;
    stage.model.setMoment(water());
    stage.model.setShown(true, ThemeAnimation::showSpring);
    stage.model.setBubbleShown(true, ThemeAnimation::showSpring);
    stage.now += 2;
    const double start = stage.now;
    stage.model.setBubbleShown(false, ThemeAnimation::bubbleOut);
    stage.model.setShown(false, ThemeAnimation::hideAnimation);
    int frame = 0;
    for (auto _ : state) {
        stage.paintAt(start + (frame++ % kExitFrames) * kFrame);
        benchmark::DoNotOptimize(stage.frame.constBits());
    }
}
BENCHMARK(BM_ExitFrame)->Unit(benchmark::kMicrosecond);

// Laying out the line and drawing the bubble with its blurred shadow once,
// which every later frame only moves and fades.
void BM_BubbleBuild(benchmark::State& state) {
    Stage stage;
    Bubble& bubble = *stage.view.bubble();
    const std::vector<Answer> answers{{"Drank", Answer::Tone::good},
                                      {"In 10 min", Answer::Tone::snooze}};
    Moment moments[2] = {water(), water()};
    moments[1].line += " Really.";
    int i = 0;
    for (auto _ : state) bubble.setContent(moments[i++ % 2], answers);
}
BENCHMARK(BM_BubbleBuild)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelliwig
