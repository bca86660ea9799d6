#pragma once
// The modal feedback window (form SuggestionWnd.ui): the user writes a question or suggestion,
// picks how to be contacted and submits. The contact is checked against its kind's pattern;
// the feedback is sent and the window closes without waiting for the reply.

#include "gui/dialogs/FramelessDialog.h"
#include "gui/seam/SeamWindow.h"

#include <QSize>

#include <memory>

namespace Ui {
class SuggestionWnd;
}

class SuggestionWnd : public FramelessDialog, public SeamWindow {
    Q_OBJECT

public:
    static constexpr QSize kSize{600, 410};
    static constexpr const char* kWindowClassName = "SuggestionWnd";

    // Result codes: sent, or closed without sending.
    enum Result { Sent = 0, Closed = 1 };

    explicit SuggestionWnd(QWidget* owner = nullptr);
    ~SuggestionWnd() override;

    // Checks the contact and the detail, tells the user, and sends the feedback when both are
    // good (the window then closes).
    void submit();

    // Replies come after the window has gone; nothing to do with them.
    std::intptr_t handleSeamMessage(int, std::intptr_t, std::unique_ptr<MessagePayload>) override { return 0; }

protected:
    bool event(QEvent* event) override;

public slots:
    void reject() override;

private:
    std::unique_ptr<Ui::SuggestionWnd> m_ui;
};
