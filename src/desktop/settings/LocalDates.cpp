#include "desktop/settings/LocalDates.h"

#include <cmath>

#include <QDateTime>

namespace pelliwig {
namespace {

QDateTime localDateTime(Instant t) {
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(t * 1000.0)));
}

}  // namespace

QDate localDate(Instant t) {
    return localDateTime(t).date();
}

Instant movedToDate(Instant t, QDate day) {
    const QDateTime from = localDateTime(t);
    const QDateTime to(day, from.time());
    if (!day.isValid() || !to.isValid()) return t;
    return t + static_cast<double>(from.msecsTo(to)) / 1000.0;
}

}  // namespace pelliwig
