#pragma once
// What a window manager's frame would do for the frameless main window: the header moves the
// window and a double click on it maximises or restores; the caption buttons follow the state;
// the long title is shortened to the header's room and kept whole as its tip.

#include <QObject>
#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

class FramelessFrame : public QObject {
    Q_OBJECT
public:
    struct CaptionButtons {
        QAbstractButton* minimise;
        QAbstractButton* maximise;
        QAbstractButton* restore;
        QAbstractButton* close;
    };
    // Gives the caption buttons their icons; the title takes the header's spare room.
    FramelessFrame(QWidget& window, QWidget* header, QLabel* title, const CaptionButtons& buttons);

    void setTitle(const QString& text);
    // The maker's logo of the language at the header's left.
    static void setBrand(QLabel* brand, bool chinese);
    const QString& title() const { return m_fullTitle; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateCaptionButtons();
    void elideTitle();

    QWidget& m_window;
    QWidget* m_header;
    QLabel* m_title;
    CaptionButtons m_buttons;
    QString m_fullTitle;
};
