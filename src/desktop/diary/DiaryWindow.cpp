#include "desktop/diary/DiaryWindow.h"

#include <string>
#include <utility>

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include "desktop/diary/DiaryChartView.h"
#include "desktop/support/EmojiText.h"

namespace pelliwig {
namespace {

constexpr int kMargin = 20;
constexpr int kSpacing = 12;
constexpr int kWidth = 760;
constexpr int kHeight = 860;

void setPixelFont(QWidget* widget, int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setWeight(weight);
    widget->setFont(font);
}

QLabel* plainLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// The figures at the top, in the order of their tiles.
enum TileIndex { totalTile, averageTile, sittingTile, waterTile, mealsTile, bedtimeTile };

struct TileText {
    QString value;
    QString caption;
};

std::vector<TileText> tileTexts(const Diary& d) {
    return {
        {qt(durationText(d.activeSeconds)), "at the computer"},
        {d.averageActiveSeconds ? qt(durationText(*d.averageActiveSeconds)) : QString("–"),
         "a day on average"},
        {qt(durationText(d.longestSitting)), "longest sitting"},
        {QString::number(d.waterAcks), "water answered"},
        {QString::number(d.mealAcks), "meals answered"},
        {QString("%1 of %2").arg(d.bedtimesKept).arg(d.bedtimeNights), "bedtimes kept"},
    };
}

}  // namespace

DiaryWindow::DiaryWindow(Source source, Portrait portrait, Scheduler& scheduler, QWidget* parent)
    : QWidget(parent, Qt::Window),
      source_(std::move(source)),
      portrait_(std::move(portrait)),
      scheduler_(scheduler) {
    setObjectName("diary");
    setWindowTitle("Your week");

    auto* content = new QWidget;
    content->setObjectName("diaryContent");
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing);
    column->addWidget(buildHeader());
    column->addWidget(buildSpanButtons());
    column->addWidget(buildTiles());

    auto* grid = new QGridLayout;
    grid->setSpacing(kSpacing);
    const DiaryChart order[] = {DiaryChart::hours, DiaryChart::sitting, DiaryChart::answers,
                                DiaryChart::bedtime, DiaryChart::apps};
    for (int i = 0; i < 5; ++i) {
        auto* chart = new DiaryChartView(order[i], content);
        charts_.push_back(chart);
        if (order[i] == DiaryChart::apps) {
            grid->addWidget(chart, 2, 0, 1, 2);
        } else {
            grid->addWidget(chart, i / 2, i % 2);
        }
    }
    column->addLayout(grid);
    column->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("diaryScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not a stop of its own for Tab: it scrolls to whatever takes the focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // Tab order follows reading order: the span, then each chart.
    setTabOrder(week_, weeks_);
    QWidget* previous = weeks_;
    for (auto* chart : charts_) {
        setTabOrder(previous, chart);
        previous = chart;
    }

    for (const auto& keys : {QKeySequence(QKeySequence::Close), QKeySequence(Qt::Key_Escape)}) {
        auto* close = new QShortcut(keys, this);
        connect(close, &QShortcut::activated, this, &QWidget::close);
    }
    resize(kWidth, kHeight);
    display(source_(span_));
}

QWidget* DiaryWindow::buildHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(16);

    portraitLabel_ = plainLabel("portrait", header);
    portraitLabel_->setFixedSize(kPortraitSize, kPortraitSize);
    portraitLabel_->setAlignment(Qt::AlignCenter);
    row->addWidget(portraitLabel_, 0, Qt::AlignTop);

    auto* words = new QVBoxLayout;
    words->setSpacing(6);
    line_ = new QLabel(header);
    line_->setObjectName("line");
    line_->setTextFormat(Qt::RichText);
    line_->setWordWrap(true);
    setPixelFont(line_, 20, QFont::DemiBold);
    subtitle_ = plainLabel("subtitle", header);
    subtitle_->setWordWrap(true);
    subtitle_->setForegroundRole(QPalette::PlaceholderText);
    setPixelFont(subtitle_, 13);
    words->addStretch(1);
    words->addWidget(line_);
    words->addWidget(subtitle_);
    words->addStretch(1);
    row->addLayout(words, 1);
    return header;
}

QWidget* DiaryWindow::buildSpanButtons() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* group = new QButtonGroup(box);
    const auto button = [&](const QString& text, const char* name, int span) {
        auto* made = new QPushButton(text, box);
        made->setObjectName(name);
        made->setMinimumWidth(120);
        made->setCheckable(true);
        made->setChecked(span == span_);
        group->addButton(made);
        row->addWidget(made);
        connect(made, &QPushButton::toggled, this, [this, span](bool on) {
            if (on) setSpan(span);
        });
        return made;
    };
    week_ = button("Last &7 days", "span.7", Diary::kWeek);
    weeks_ = button("Last &21 days", "span.21", Diary::kLongest);
    row->addStretch(1);
    return box;
}

QWidget* DiaryWindow::buildTiles() {
    auto* box = new QWidget(this);
    // Two rows of three: a figure of three weeks ("120 h 59 min") still fits.
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(kSpacing);
    const char* names[] = {"total", "average", "sitting", "water", "meals", "bedtime"};
    int index = 0;
    for (const char* name : names) {
        auto* tile = new QFrame(box);
        tile->setObjectName(QString("tile.") + name);
        tile->setFrameShape(QFrame::StyledPanel);
        auto* column = new QVBoxLayout(tile);
        column->setContentsMargins(12, 8, 12, 8);
        column->setSpacing(2);
        auto* value = plainLabel("value", tile);
        setPixelFont(value, 18, QFont::DemiBold);
        auto* caption = plainLabel("caption", tile);
        caption->setForegroundRole(QPalette::PlaceholderText);
        setPixelFont(caption, 11);
        column->addWidget(value);
        column->addWidget(caption);
        grid->addWidget(tile, index / 3, index % 3);
        ++index;
        tiles_.push_back({value, caption});
    }
    return box;
}

void DiaryWindow::showAndRaise() {
    if (!centred_) {
        centred_ = true;
        if (const auto* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            resize(std::min(kWidth, available.width()), std::min(kHeight, available.height()));
            move(available.center() - rect().center());
        }
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    QWidget::show();
    raise();
    activateWindow();
}

void DiaryWindow::setSpan(int span) {
    if (span == span_) return;
    span_ = span;
    week_->setChecked(span == Diary::kWeek);
    weeks_->setChecked(span == Diary::kLongest);
    refresh();
}

void DiaryWindow::refresh() {
    Diary fresh = source_(span_);
    if (fresh == diary_) {
        showPortrait(fresh.face);  // the window may have moved to a screen of another scale
        return;
    }
    display(fresh);
}

void DiaryWindow::display(const Diary& diary) {
    diary_ = diary;
    line_->setText(EmojiText::html(qt(diary.line)));
    line_->setAccessibleName(qt(diary.line));
    const bool past = diary.averageActiveSeconds.has_value();
    subtitle_->setText(past ? QString("The last %1 days as she saw them. Today's numbers grow "
                                      "while this window is open.")
                                  .arg(diary.span)
                            : QString("Her diary begins today: the days before fill in as you "
                                      "go. Today's numbers grow while this window is open."));
    const auto texts = tileTexts(diary);
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        tiles_[i].value->setText(texts[i].value);
        tiles_[i].caption->setText(texts[i].caption);
        tiles_[i].value->parentWidget()->setAccessibleName(texts[i].value + " " + texts[i].caption);
    }
    for (auto* chart : charts_) chart->setDiary(diary);
    showPortrait(diary.face);
}

void DiaryWindow::showPortrait(const Face& face) {
    const qreal ratio = devicePixelRatioF();
    if (shownFace_ == face && shownRatio_ == ratio) return;
    shownFace_ = face;
    shownRatio_ = ratio;
    const QImage image = portrait_ ? portrait_(face) : QImage();
    if (image.isNull()) {
        portraitLabel_->clear();
        return;
    }
    QPixmap scaled = QPixmap::fromImage(image).scaled(
        QSize(kPortraitSize, kPortraitSize) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    portraitLabel_->setPixmap(scaled);
}

void DiaryWindow::showEvent(QShowEvent* event) {
    refresh();
    // Only an open window looks again: a closed one costs nothing.
    refreshTask_ = scheduler_.every(kRefreshSeconds, [this] { refresh(); });
    QWidget::showEvent(event);
}

void DiaryWindow::hideEvent(QHideEvent* event) {
    refreshTask_.cancel();
    QWidget::hideEvent(event);
}

}  // namespace pelliwig
