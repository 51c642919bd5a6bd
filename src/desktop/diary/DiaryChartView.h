#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "core/engine/Diary.h"

namespace pelliwig {

// The colours the diary draws with, light or dark as the window's palette is.
struct DiaryColours {
    bool dark = false;
    QColor card, text, secondary, grid, empty, focus;
    QColor hours, sitting, water, meals, moon, work, leisure;

    static DiaryColours from(const QPalette& palette);
};

// One chart of her diary, drawn from the diary as it is handed in. It takes
// the keyboard focus: the arrow keys (and the pointer) pick a day, or a kind
// of app, whose value then stands under the title and in the accessible
// name; the accessible description is the whole chart in words.
class DiaryChartView final : public QWidget {
    Q_OBJECT

public:
    explicit DiaryChartView(DiaryChart chart, QWidget* parent = nullptr);

    void setDiary(const Diary& diary);

    DiaryChart chart() const { return chart_; }
    // The picked day (or bucket) by index, -1 for none.
    int selected() const { return selected_; }
    void select(int index);
    // What stands under the title: the picked entry's value, else the summary.
    QString caption() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int entryCount() const;
    int entryAt(QPointF position) const;
    QRectF plotRect() const;
    void updateAccessibleText();

    void drawBars(QPainter& p, const DiaryColours& c, const QRectF& plot);
    void drawAnswers(QPainter& p, const DiaryColours& c, const QRectF& plot);
    void drawBedtime(QPainter& p, const DiaryColours& c, const QRectF& plot);
    void drawApps(QPainter& p, const DiaryColours& c, const QRectF& plot);
    void drawDayLabels(QPainter& p, const DiaryColours& c, const QRectF& plot);
    void drawLegend(QPainter& p, const DiaryColours& c);

    DiaryChart chart_;
    Diary diary_;
    int selected_ = -1;
};

}  // namespace pelliwig
