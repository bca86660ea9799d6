#pragma once
// Which working zone is current and in which state each zone is. Every change asks the window
// to rebuild the zone's controls (WM_PANE_STATE_CHANGED).

#include "core/converter/WorkingZone.h"
#include "core/message/MessageSink.h"

#include <QString>

#include <map>

class PaneSwitcher {
public:
    enum State { Empty = 0, Inspecting = 1, Converting = 2, Ready = 3, Finished = 4 };
    // The PDF zones: extract, compress, decrypt, merge, split.
    static constexpr int kFirstPdfZone = WorkingZone::kFirst;
    static constexpr int kLastPdfZone = WorkingZone::kLast;
    static bool isPdfZone(int zone) { return WorkingZone::isPdf(zone); }
    // The category of the PDF functions, and a PDF zone's item in it.
    static constexpr int kPdfCategory = 1;
    static constexpr int pdfItem(int zone) { return zone - kFirstPdfZone; }

    struct FileDialogSpec {
        QString title;
        QString filter; // Qt filter text, "PDF File (*.pdf)"
    };

    void setWindow(WindowHandle window) { m_window = window; }

    // Categories 0, 1, 3 and 4; others throw std::logic_error("Not implemented online_converter").
    void switchTo(int category, int item);
    void selectItem(int item);
    int category() const { return m_category; }
    int item() const { return m_item; }
    int currentZone() const;
    int zoneState(int zone) const;
    void setState(int zone, int state);
    bool switchedByUser() const { return m_switchedByUser; }
    void setSwitchedByUser(bool value) { m_switchedByUser = value; }

    FileDialogSpec fileDialogSpec() const;
    std::wstring outputExtension() const;

    // Words naming a zone's operation on its buttons and in row statuses, in the current language.
    static std::wstring startWord(int zone);
    static std::wstring statusWord(int zone);
    // What the continue button puts into its text: "Continue" in English, the start word in Chinese.
    static std::wstring continueWord(int zone);
    static QString listName(int zone);

private:
    void notify();

    WindowHandle m_window = 0;
    int m_category = 1;
    int m_item = 4;
    bool m_switchedByUser = false;
    std::map<int, int> m_states;
};
