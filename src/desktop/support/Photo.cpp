#include "desktop/support/Photo.h"

#include <QImageReader>

namespace pelliwig::Photo {

QImage loadFilling(const std::string& path, QSize size) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);
    // Camera pictures are large; decode only as much as the slot needs.
    const QSize full = reader.size();
    if (full.isValid() && full.width() > 2 * size.width() && full.height() > 2 * size.height()) {
        reader.setScaledSize(full.scaled(size * 2, Qt::KeepAspectRatioByExpanding));
    }
    const QImage image = reader.read();
    if (image.isNull()) return {};
    const QImage covering =
        image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QRect crop((covering.width() - size.width()) / 2, (covering.height() - size.height()) / 2,
                     size.width(), size.height());
    return covering.copy(crop).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace pelliwig::Photo
