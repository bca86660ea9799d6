#include "gui/seam/SeamWindow.h"

#include "gui/seam/QtMessageSink.h"
#include "gui/seam/QueueHandOff.h"
#include "gui/seam/SeamEvent.h"

SeamWindow::SeamWindow(QObject* self) : m_handle(QtMessageSink::instance().registerWindow(self, this)) {}

SeamWindow::~SeamWindow()
{
    QtMessageSink::instance().unregisterWindow(m_handle);
}

bool SeamWindow::dispatchSeamEvent(QEvent* event)
{
    QueueHandOff::takeOver(event);
    if (event->type() != SeamEvent::eventType())
        return false;
    auto* seam = static_cast<SeamEvent*>(event);
    seam->answer(handleSeamMessage(seam->message(), seam->wParam(), seam->takePayload()));
    return true;
}
