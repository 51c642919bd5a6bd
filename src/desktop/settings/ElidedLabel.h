#pragma once

#include <QLabel>
#include <QString>

namespace pelliwig {

// One line of plain text, shortened in the middle ("~/Pictures/…/Weekend")
// when it does not fit, so both the start and the folder's own name stay
// visible.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();
    QString full_;
};

}  // namespace pelliwig
