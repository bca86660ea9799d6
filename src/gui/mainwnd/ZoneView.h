#pragma once
// The working-zone part of the main window's form: the zone choice (split, merge, or "more
// tools", which shows the list of all five PDF functions), the page of the current zone or the empty page with its prompt, and the
// start and continue buttons as the zone's state asks.

#include <QObject>

namespace Ui {
class CMainWnd;
}
class PaneSwitcher;

class ZoneView : public QObject {
    Q_OBJECT
public:
    ZoneView(Ui::CMainWnd& form, PaneSwitcher& switcher, QObject* parent);

    // The zone choice changes the current zone; the first zone is split, the list of functions
    // hidden until the third option shows it.
    void connectChoice();
    // Draws the current zone in its state (WM_PANE_STATE_CHANGED, language changes).
    void rebuild();

private:
    Ui::CMainWnd& ui;
    PaneSwitcher& m_switcher;
};
