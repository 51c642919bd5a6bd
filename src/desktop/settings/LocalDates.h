#pragma once

#include <QDate>

#include "core/support/Instant.h"

namespace pelliwig {

// Date pickers show calendar days; settings hold instants.

// The local calendar day of an instant.
QDate localDate(Instant t);

// The same local time of day (and fraction of a second) on another day: a
// date picker changes the day of a stored instant, never its time.
Instant movedToDate(Instant t, QDate day);

}  // namespace pelliwig
