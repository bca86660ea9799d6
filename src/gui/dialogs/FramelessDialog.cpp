#include "gui/dialogs/FramelessDialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

FramelessDialog::FramelessDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(true);
}

FramelessDialog::~FramelessDialog() = default;

int FramelessDialog::showModal()
{
    centreOnOwner();
    return exec();
}

void FramelessDialog::centreOnOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = nullptr;
    QPoint centre;
    if (owner && owner->isVisible()) {
        centre = owner->frameGeometry().center();
        screen = owner->screen();
    } else {
        screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen)
            centre = screen->availableGeometry().center();
    }
    QPoint topLeft = centre - QPoint(width() / 2, height() / 2);
    if (screen) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() - width() + 1)));
        topLeft.setY(qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() - height() + 1)));
    }
    move(topLeft);
}

void FramelessDialog::setCaptionStrip(QWidget* strip)
{
    if (m_caption)
        m_caption->removeEventFilter(this);
    m_caption = strip;
    if (m_caption)
        m_caption->installEventFilter(this);
}

bool FramelessDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_caption)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        // The window system moves the window where it can (the only way on Wayland);
        // elsewhere the window follows the mouse itself.
        if (windowHandle() && windowHandle()->startSystemMove())
            return true;
        m_dragging = true;
        m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragging && (mouse->buttons() & Qt::LeftButton)) {
            move(mouse->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragging) {
            m_dragging = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
