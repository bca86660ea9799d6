#pragma once
// The common ground of the program's own small modal windows: no system frame, a fixed size,
// a caption strip of their own by which they can be dragged, and a modal run centred on the
// window that owns them.

#include <QDialog>
#include <QPoint>

class FramelessDialog : public QDialog {
    Q_OBJECT

public:
    explicit FramelessDialog(QWidget* owner = nullptr);
    ~FramelessDialog() override;

    // Centres the window on its owner and runs it modally; returns the result code.
    int showModal();

    // Places the window over the middle of its owner's window (of the screen without owner),
    // kept inside that screen's available area.
    void centreOnOwner();

protected:
    // The strip by which the window is dragged; mouse presses on it (and on labels in it)
    // move the window.
    void setCaptionStrip(QWidget* strip);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_caption = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
