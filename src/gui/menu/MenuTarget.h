#pragma once
// What the drop-down menu's commands ask of the window that opened the menu.

class MenuTarget {
public:
    virtual ~MenuTarget() = default;
    virtual void openFeedbackWindow() = 0;
    virtual void checkForUpdate() = 0;
    // The user logs off from the menu: the window forgets the account without a prompt.
    virtual void logOff() = 0;
    virtual void closeWindow() = 0;
};
