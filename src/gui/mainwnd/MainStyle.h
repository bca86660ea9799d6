#pragma once
// The look of the main window: one style sheet, so colours live in one place.

#include <QString>

namespace MainStyle {
QString sheet();
}
