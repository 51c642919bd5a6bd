#include "desktop/diary/DiaryChartView.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace pelliwig {
namespace {

constexpr double kPadding = 14;
constexpr double kTitleHeight = 18;
constexpr double kCaptionHeight = 16;
constexpr double kPlotTop = kPadding + kTitleHeight + kCaptionHeight + 10;
constexpr double kAxisWidth = 44;
constexpr double kLabelHeight = 18;
constexpr double kRadius = 10;
constexpr int kBarChartHeight = 196;
constexpr int kBedtimeHeight = 124;
constexpr double kAppRow = 24;
constexpr double kAppNameWidth = 150;
constexpr double kAppValueWidth = 84;

QFont pixelFont(const QFont& base, int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(alpha));
    return colour;
}

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// The top of the value axis and the distance between its lines: the
// smallest step of `steps` that needs at most four lines, never below
// `least`, so a quiet week still reads as small bars rather than full ones.
struct Scale {
    double step = 1;
    double top = 1;
};

Scale scaleFor(double largest, const std::vector<double>& steps, double least) {
    const double value = std::max(largest, least);
    for (const double step : steps) {
        const double top = std::ceil(value / step) * step;
        if (top / step <= 4) return {step, top};
    }
    const double step = steps.back() * std::ceil(value / (4 * steps.back()));
    return {step, std::ceil(value / step) * step};
}

// "30 min", "1 h", "1 h 30": short enough for the axis.
QString axisMinutes(double minutes) {
    const int whole = int(std::lround(minutes));
    if (whole < 60) return QString("%1 min").arg(whole);
    if (whole % 60 == 0) return QString("%1 h").arg(whole / 60);
    return QString("%1 h %2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// A crescent moon filling a circle of radius `r` around `centre`.
QPainterPath crescent(QPointF centre, double r) {
    QPainterPath moon;
    moon.addEllipse(centre, r, r);
    QPainterPath bite;
    bite.addEllipse(centre + QPointF(r * 0.45, -r * 0.35), r * 0.82, r * 0.82);
    return moon.subtracted(bite);
}

// The charts are charts to assistive technology, not anonymous panes.
class ChartAccessible final : public QAccessibleWidget {
public:
    explicit ChartAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Chart) {}
};

QAccessibleInterface* chartAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("pelliwig::DiaryChartView") && object &&
        object->isWidgetType()) {
        return new ChartAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

DiaryColours DiaryColours::from(const QPalette& palette) {
    DiaryColours c;
    c.dark = palette.color(QPalette::Window).lightnessF() < 0.5;
    c.card = palette.color(QPalette::Base);
    c.text = palette.color(QPalette::Text);
    c.secondary = withAlpha(c.text, 0.62);
    c.grid = withAlpha(c.text, 0.10);
    c.empty = withAlpha(c.text, 0.28);
    c.focus = palette.color(QPalette::Highlight);
    if (c.dark) {
        c.hours = QColor(0xf2, 0x7b, 0xa5);
        c.sitting = QColor(0xa9, 0x93, 0xf0);
        c.water = QColor(0x5b, 0xb8, 0xee);
        c.meals = QColor(0xf5, 0xae, 0x6b);
        c.moon = QColor(0xf3, 0xd2, 0x6b);
        c.work = QColor(0x6c, 0xc0, 0xae);
        c.leisure = QColor(0xf2, 0x7b, 0xa5);
    } else {
        c.hours = QColor(0xd9, 0x4a, 0x80);
        c.sitting = QColor(0x7b, 0x5f, 0xc9);
        c.water = QColor(0x23, 0x8f, 0xd0);
        c.meals = QColor(0xe8, 0x8a, 0x2e);
        c.moon = QColor(0x4d, 0x5b, 0xbf);
        c.work = QColor(0x3d, 0x93, 0x80);
        c.leisure = QColor(0xd9, 0x4a, 0x80);
    }
    return c;
}

DiaryChartView::DiaryChartView(DiaryChart chart, QWidget* parent) : QWidget(parent), chart_(chart) {
    static const bool installed = [] {
        QAccessible::installFactory(&chartAccessible);
        return true;
    }();
    (void)installed;
    setObjectName(QString("chart.%1").arg(int(chart)));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    updateAccessibleText();
}

void DiaryChartView::setDiary(const Diary& diary) {
    const bool resized =
        chart_ == DiaryChart::apps && diary.buckets.size() != diary_.buckets.size();
    diary_ = diary;
    if (selected_ >= entryCount()) selected_ = entryCount() - 1;
    if (resized) updateGeometry();
    updateAccessibleText();
    update();
}

void DiaryChartView::select(int index) {
    const int count = entryCount();
    const int clamped = count == 0 ? -1 : std::clamp(index, -1, count - 1);
    if (clamped == selected_) return;
    selected_ = clamped;
    updateAccessibleText();
    update();
}

int DiaryChartView::entryCount() const {
    return chart_ == DiaryChart::apps ? int(diary_.buckets.size()) : int(diary_.days.size());
}

QString DiaryChartView::caption() const {
    if (selected_ < 0 || selected_ >= entryCount()) return qt(chartSummary(diary_, chart_));
    if (chart_ == DiaryChart::apps) return qt(bucketText(diary_.buckets[selected_]));
    const auto& day = diary_.days[selected_];
    return qt(day.name + ": " + dayValueText(day, chart_));
}

void DiaryChartView::updateAccessibleText() {
    const QString title = qt(chartTitle(chart_));
    setAccessibleName(selected_ < 0 ? title : title + ", " + caption());
    setAccessibleDescription(qt(chartText(diary_, chart_)));
    setToolTip(selected_ < 0 ? QString() : caption());
}

QSize DiaryChartView::sizeHint() const {
    switch (chart_) {
        case DiaryChart::bedtime:
            return {340, kBedtimeHeight};
        case DiaryChart::apps: {
            const int rows = std::max<int>(1, int(diary_.buckets.size()));
            return {700, int(kPlotTop + rows * kAppRow + kPadding)};
        }
        default:
            return {340, kBarChartHeight};
    }
}

QSize DiaryChartView::minimumSizeHint() const {
    return {280, sizeHint().height()};
}

QRectF DiaryChartView::plotRect() const {
    const QRectF all(kPadding, kPlotTop, width() - 2 * kPadding, height() - kPlotTop - kPadding);
    switch (chart_) {
        case DiaryChart::apps:
            return all;
        case DiaryChart::bedtime:
            return all.adjusted(0, 0, 0, -kLabelHeight);
        default:
            return all.adjusted(kAxisWidth, 0, 0, -kLabelHeight);
    }
}

int DiaryChartView::entryAt(QPointF position) const {
    const QRectF plot = plotRect();
    const int count = entryCount();
    if (count == 0) return -1;
    if (chart_ == DiaryChart::apps) {
        const int row = int(std::floor((position.y() - plot.top()) / kAppRow));
        return row >= 0 && row < count && position.x() >= plot.left() ? row : -1;
    }
    if (position.x() < plot.left() || position.x() >= plot.right()) return -1;
    if (position.y() < plot.top() || position.y() > plot.bottom() + kLabelHeight) return -1;
    return std::clamp(int((position.x() - plot.left()) / (plot.width() / count)), 0, count - 1);
}

void DiaryChartView::paintEvent(QPaintEvent*) {
    const DiaryColours c = DiaryColours::from(palette());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(hasFocus() ? QPen(c.focus, 2) : QPen(c.grid, 1));
    p.setBrush(c.card);
    p.drawRoundedRect(card, kRadius, kRadius);

    p.setPen(c.text);
    p.setFont(pixelFont(font(), 13, QFont::DemiBold));
    p.drawText(QRectF(kPadding, kPadding, width() - 2 * kPadding, kTitleHeight),
               Qt::AlignLeft | Qt::AlignVCenter, qt(chartTitle(chart_)));
    drawLegend(p, c);
    p.setPen(selected_ >= 0 ? c.text : c.secondary);
    p.setFont(pixelFont(font(), 12));
    p.drawText(QRectF(kPadding, kPadding + kTitleHeight, width() - 2 * kPadding, kCaptionHeight),
               Qt::AlignLeft | Qt::AlignVCenter, caption());

    const QRectF plot = plotRect();
    switch (chart_) {
        case DiaryChart::hours:
        case DiaryChart::sitting:
            drawBars(p, c, plot);
            break;
        case DiaryChart::answers:
            drawAnswers(p, c, plot);
            break;
        case DiaryChart::bedtime:
            drawBedtime(p, c, plot);
            break;
        case DiaryChart::apps:
            drawApps(p, c, plot);
            break;
    }
}

void DiaryChartView::drawLegend(QPainter& p, const DiaryColours& c) {
    struct Key {
        QColor colour;
        QString text;
        bool moon;
    };
    std::vector<Key> keys;
    if (chart_ == DiaryChart::answers)
        keys = {{c.water, "Water", false}, {c.meals, "Meals", false}};
    if (chart_ == DiaryChart::bedtime) keys = {{c.moon, "Kept", true}, {c.empty, "Snoozed", true}};
    if (chart_ == DiaryChart::apps && !diary_.buckets.empty()) {
        keys = {{c.work, "Work and the rest", false}, {c.leisure, "Leisure", false}};
    }
    const QFont font = pixelFont(this->font(), 11);
    p.setFont(font);
    const QFontMetricsF metrics(font);
    double x = width() - kPadding;
    const double y = kPadding + kTitleHeight / 2;
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        const double textWidth = metrics.horizontalAdvance(key->text);
        x -= textWidth;
        p.setPen(c.secondary);
        p.drawText(QRectF(x, kPadding, textWidth, kTitleHeight), Qt::AlignVCenter, key->text);
        x -= 14;
        p.setPen(Qt::NoPen);
        p.setBrush(key->colour);
        if (key->moon) {
            p.drawPath(crescent(QPointF(x + 5, y), 5));
        } else {
            p.drawRoundedRect(QRectF(x, y - 5, 10, 10), 3, 3);
        }
        x -= 12;
    }
}

void DiaryChartView::drawDayLabels(QPainter& p, const DiaryColours& c, const QRectF& plot) {
    const int count = int(diary_.days.size());
    if (count == 0) return;
    const double slot = plot.width() / count;
    // Three weeks of labels do not fit a narrow chart: every third day then,
    // counted back from today so today is always labelled.
    const int every = slot >= 18 ? 1 : 3;
    for (int i = 0; i < count; ++i) {
        const auto& day = diary_.days[i];
        const bool highlighted = i == selected_ || day.today;
        if ((count - 1 - i) % every != 0 && i != selected_) continue;
        p.setFont(pixelFont(font(), 11, highlighted ? QFont::DemiBold : QFont::Normal));
        p.setPen(highlighted ? c.text : c.secondary);
        const QRectF cell(plot.left() + i * slot - 10, plot.bottom() + 2, slot + 20,
                          kLabelHeight - 2);
        p.drawText(cell, Qt::AlignHCenter | Qt::AlignVCenter, qt(day.label));
    }
}

void DiaryChartView::drawBars(QPainter& p, const DiaryColours& c, const QRectF& plot) {
    const bool hours = chart_ == DiaryChart::hours;
    const QColor colour = hours ? c.hours : c.sitting;
    const auto value = [hours](const Diary::Day& day) {
        return (hours ? day.activeSeconds : day.longestSitting) / 60;  // minutes
    };
    double largest = 0;
    for (const auto& day : diary_.days) largest = std::max(largest, value(day));
    const Scale scale = hours ? scaleFor(largest, {60, 120, 180, 240, 360}, 60)
                              : scaleFor(largest, {15, 30, 60, 120}, 30);
    const auto yOf = [&](double minutes) {
        return plot.bottom() - plot.height() * std::min(minutes, scale.top) / scale.top;
    };

    p.setFont(pixelFont(font(), 10));
    for (double v = 0; v <= scale.top + 0.5; v += scale.step) {
        const double y = yOf(v);
        p.setPen(QPen(c.grid, 1));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(c.secondary);
        p.drawText(QRectF(kPadding, y - 8, kAxisWidth - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   v == 0 ? QString("0") : axisMinutes(v));
    }

    const int count = int(diary_.days.size());
    const double slot = plot.width() / std::max(count, 1);
    const double barWidth = std::min(slot * 0.62, 30.0);
    for (int i = 0; i < count; ++i) {
        const auto& day = diary_.days[i];
        const double centre = plot.left() + (i + 0.5) * slot;
        if (i == selected_) {
            p.setPen(Qt::NoPen);
            p.setBrush(c.grid);
            p.drawRoundedRect(QRectF(centre - slot / 2 + 1, plot.top(), slot - 2, plot.height()), 4,
                              4);
        }
        if (!day.recorded) {
            p.setPen(QPen(c.empty, 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(centre, plot.bottom() - 4), 2.5, 2.5);
            continue;
        }
        const double top = yOf(value(day));
        const QRectF bar(centre - barWidth / 2, top, barWidth, plot.bottom() - top);
        if (bar.height() < 0.5) continue;
        QPainterPath path;
        path.addRoundedRect(bar.adjusted(0, 0, 0, std::min(4.0, bar.height())), 4, 4);
        QPainterPath clip;
        clip.addRect(QRectF(bar.left() - 1, bar.top() - 1, bar.width() + 2, bar.height() + 1));
        path = path.intersected(clip);
        // Today is not over yet: its bar is lighter, with a full outline.
        p.setPen(day.today ? QPen(colour, 1.4) : Qt::NoPen);
        p.setBrush(day.today ? withAlpha(colour, 0.38) : colour);
        p.drawPath(path);
    }

    if (hours && diary_.averageActiveSeconds) {
        const double y = yOf(*diary_.averageActiveSeconds / 60);
        QPen dashed(c.secondary, 1.2, Qt::DashLine);
        p.setPen(dashed);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    drawDayLabels(p, c, plot);
}

void DiaryChartView::drawAnswers(QPainter& p, const DiaryColours& c, const QRectF& plot) {
    int largest = 0;
    for (const auto& day : diary_.days) largest = std::max({largest, day.waterAcks, day.mealAcks});
    const Scale scale = scaleFor(largest, {1, 2, 5, 10, 20}, 4);
    const auto yOf = [&](double n) {
        return plot.bottom() - plot.height() * std::min(n, scale.top) / scale.top;
    };
    p.setFont(pixelFont(font(), 10));
    for (double v = 0; v <= scale.top + 0.5; v += scale.step) {
        p.setPen(QPen(c.grid, 1));
        p.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        p.setPen(c.secondary);
        p.drawText(QRectF(kPadding, yOf(v) - 8, kAxisWidth - 6, 16),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(int(v)));
    }
    const int count = int(diary_.days.size());
    const double slot = plot.width() / std::max(count, 1);
    const double barWidth = std::min(slot * 0.3, 13.0);
    for (int i = 0; i < count; ++i) {
        const auto& day = diary_.days[i];
        const double centre = plot.left() + (i + 0.5) * slot;
        if (i == selected_) {
            p.setPen(Qt::NoPen);
            p.setBrush(c.grid);
            p.drawRoundedRect(QRectF(centre - slot / 2 + 1, plot.top(), slot - 2, plot.height()), 4,
                              4);
        }
        if (!day.recorded) {
            p.setPen(QPen(c.empty, 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(centre, plot.bottom() - 4), 2.5, 2.5);
            continue;
        }
        const std::pair<int, QColor> bars[] = {{day.waterAcks, c.water}, {day.mealAcks, c.meals}};
        for (int b = 0; b < 2; ++b) {
            if (bars[b].first <= 0) continue;
            const double left = b == 0 ? centre - barWidth - 1 : centre + 1;
            const double top = yOf(bars[b].first);
            p.setPen(Qt::NoPen);
            p.setBrush(day.today ? withAlpha(bars[b].second, 0.55) : bars[b].second);
            p.drawRoundedRect(QRectF(left, top, barWidth, plot.bottom() - top), 2.5, 2.5);
        }
    }
    drawDayLabels(p, c, plot);
}

void DiaryChartView::drawBedtime(QPainter& p, const DiaryColours& c, const QRectF& plot) {
    const int count = int(diary_.days.size());
    const double slot = plot.width() / std::max(count, 1);
    const double r = std::clamp(slot * 0.3, 4.0, 11.0);
    const double y = plot.center().y();
    for (int i = 0; i < count; ++i) {
        const auto& day = diary_.days[i];
        const QPointF centre(plot.left() + (i + 0.5) * slot, y);
        if (i == selected_) {
            p.setPen(Qt::NoPen);
            p.setBrush(c.grid);
            p.drawRoundedRect(
                QRectF(centre.x() - slot / 2 + 1, plot.top(), slot - 2, plot.height()), 4, 4);
        }
        switch (day.recorded ? day.bedtime : Diary::Bedtime::none) {
            case Diary::Bedtime::kept:
                p.setPen(Qt::NoPen);
                p.setBrush(c.moon);
                p.drawPath(crescent(centre, r));
                break;
            case Diary::Bedtime::snoozed:
                p.setPen(Qt::NoPen);
                p.setBrush(c.empty);
                p.drawPath(crescent(centre, r));
                break;
            case Diary::Bedtime::none:
                p.setPen(QPen(c.empty, 1.2));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(centre, 2.5, 2.5);
                break;
        }
    }
    drawDayLabels(p, c, plot);
}

void DiaryChartView::drawApps(QPainter& p, const DiaryColours& c, const QRectF& plot) {
    if (diary_.buckets.empty()) {
        p.setPen(c.secondary);
        p.setFont(pixelFont(font(), 12));
        p.drawText(plot, Qt::AlignLeft | Qt::AlignTop,
                   "She notes which kind of app is in front while you are active.");
        return;
    }
    const double largest = diary_.buckets.front().seconds;
    const double barLeft = plot.left() + kAppNameWidth;
    const double barSpace = std::max(10.0, plot.width() - kAppNameWidth - kAppValueWidth);
    for (int i = 0; i < int(diary_.buckets.size()); ++i) {
        const auto& bucket = diary_.buckets[i];
        const QRectF row(plot.left(), plot.top() + i * kAppRow, plot.width(), kAppRow);
        if (i == selected_) {
            p.setPen(Qt::NoPen);
            p.setBrush(c.grid);
            p.drawRoundedRect(row.adjusted(-6, 1, 6, -1), 4, 4);
        }
        p.setFont(pixelFont(font(), 12, i == selected_ ? QFont::DemiBold : QFont::Normal));
        p.setPen(c.text);
        p.drawText(QRectF(row.left(), row.top(), kAppNameWidth - 8, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, qt(std::string(title(bucket.bucket))));
        const double length = std::max(3.0, barSpace * bucket.seconds / largest);
        p.setPen(Qt::NoPen);
        p.setBrush(bucket.leisure ? c.leisure : c.work);
        p.drawRoundedRect(QRectF(barLeft, row.center().y() - 6, length, 12), 4, 4);
        p.setPen(c.secondary);
        p.drawText(QRectF(barLeft + length + 8, row.top(), kAppValueWidth, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, qt(durationText(bucket.seconds)));
    }
}

void DiaryChartView::keyPressEvent(QKeyEvent* event) {
    const int count = entryCount();
    const bool vertical = chart_ == DiaryChart::apps;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            if ((event->key() == Qt::Key_Up) != vertical) break;
            select(selected_ < 0 ? count - 1 : std::max(selected_ - 1, 0));
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            if ((event->key() == Qt::Key_Down) != vertical) break;
            select(selected_ < 0 ? count - 1 : selected_ + 1);
            return;
        case Qt::Key_Home:
            select(0);
            return;
        case Qt::Key_End:
            select(count - 1);
            return;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void DiaryChartView::mouseMoveEvent(QMouseEvent* event) {
    select(entryAt(event->position()));
    if (selected_ >= 0) QToolTip::showText(event->globalPosition().toPoint(), caption(), this);
}

void DiaryChartView::leaveEvent(QEvent*) {
    if (!hasFocus()) select(-1);
}

void DiaryChartView::focusInEvent(QFocusEvent* event) {
    // The most recent entry first: today, or the kind of app with most time.
    if (selected_ < 0) select(chart_ == DiaryChart::apps ? 0 : entryCount() - 1);
    QWidget::focusInEvent(event);
    update();
}

void DiaryChartView::focusOutEvent(QFocusEvent* event) {
    select(-1);
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace pelliwig
