#pragma once

#include <vector>

#include <QString>
#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;

namespace pelliwig {

// One choice among a few, side by side. The chosen segment is filled with
// the palette's highlight colour, which every light and dark theme sets
// apart from the window. The group is one stop for Tab (the chosen segment);
// the arrow keys move the choice between segments, as in a row of radio
// buttons. setCurrent() only draws; picked() is the user's choice.
class SegmentedChoice : public QWidget {
    Q_OBJECT
public:
    // `names` are the segments' object names, beside their titles.
    SegmentedChoice(const QString& name, const QStringList& titles, const QStringList& names,
                    QWidget* parent = nullptr);

    void setCurrent(int index);
    int current() const;
    QAbstractButton* segment(int index) const;
    int count() const { return static_cast<int>(segments_.size()); }

signals:
    void picked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int index, bool focus);
    void updateTabStop();

    QButtonGroup* group_;
    std::vector<QAbstractButton*> segments_;
};

}  // namespace pelliwig
