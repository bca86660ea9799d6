#include "gui/seam/SeamEvent.h"

QEvent::Type SeamEvent::eventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
