#pragma once
// A window that receives messages from workers: it registers a handle while it lives and gets
// each message on its own thread through handleSeamMessage. A message to a window that is gone
// is dropped and its payload freed.

#include "core/message/MessageSink.h"
#include "gui/seam/SeamReceiver.h"

#include <QObject>

#include <cstdint>
#include <memory>

class SeamWindow : public SeamReceiver {
public:
    explicit SeamWindow(QObject* self);
    virtual ~SeamWindow();
    SeamWindow(const SeamWindow&) = delete;
    SeamWindow& operator=(const SeamWindow&) = delete;

    WindowHandle seamHandle() const { return m_handle; }

    // Call from the QObject's event() override; true when the event was a seam message.
    bool dispatchSeamEvent(QEvent* event);

private:
    WindowHandle m_handle;
};
