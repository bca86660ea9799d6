#include "gui/filelist/CMyListUI.h"

#include "gui/filelist/CDragCallBack.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>

CMyListUI::CMyListUI(const QString& name, QWidget* parent)
    : FileListWidget(name, parent), m_dropIndicator(new QFrame(container()))
{
    // Mouse presses that the rows' own controls do not take reach the rows' container.
    container()->installEventFilter(this);
    m_dropIndicator->setObjectName(QStringLiteral("dropindicator"));
    QPalette palette = m_dropIndicator->palette();
    palette.setColor(QPalette::Window, QColor(0x2b, 0x7d, 0xe9));
    m_dropIndicator->setPalette(palette);
    m_dropIndicator->setAutoFillBackground(true);
    m_dropIndicator->hide();
}

ListRowWidget* CMyListUI::rowAt(const QPoint& containerPos) const
{
    for (ListRowWidget* r : rows()) {
        if (r->geometry().contains(containerPos))
            return r;
    }
    return nullptr;
}

bool CMyListUI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != container())
        return FileListWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        pressed(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton) || !m_pressedRow)
            break;
        moved(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !m_pressedRow)
            break;
        released(mouse->position().toPoint());
        return true;
    }
    default:
        break;
    }
    return FileListWidget::eventFilter(watched, event);
}

void CMyListUI::pressed(const QPoint& pos)
{
    m_pressedRow = rowAt(pos);
    m_pressPos = pos;
    m_dragging = false;
}

void CMyListUI::moved(const QPoint& pos)
{
    if (!m_dragging) {
        if ((pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    // Keep the drop point in sight when dragging past either edge.
    ensureVisible(pos.x(), pos.y(), 0, 20);
    showDropIndicator(pos);
}

void CMyListUI::showDropIndicator(const QPoint& pos)
{
    ListRowWidget* target = rowAt(pos);
    if (!target || target == m_pressedRow) {
        m_dropIndicator->hide();
        return;
    }
    // The dragged row will take the target's place: above it when coming from below, under it
    // when coming from above.
    const bool fromAbove = indexOf(m_pressedRow->rowId()) < indexOf(target->rowId());
    const QRect area = target->geometry();
    const int y = fromAbove ? area.bottom() - 1 : area.top();
    m_dropIndicator->setGeometry(area.left(), y, area.width(), 2);
    m_dropIndicator->raise();
    m_dropIndicator->show();
}

void CMyListUI::released(const QPoint& pos)
{
    const bool wasDragging = m_dragging;
    ListRowWidget* dragged = m_pressedRow;
    m_pressedRow = nullptr;
    m_dragging = false;
    m_dropIndicator->hide();
    unsetCursor();
    if (!wasDragging || !dragged || indexOf(dragged->rowId()) < 0 || !m_callback)
        return;
    ListRowWidget* target = rowAt(pos);
    if (target && target != dragged) {
        const int newIndex = indexOf(target->rowId());
        if (m_callback->moveRow(dragged->rowId(), newIndex))
            moveRow(dragged->rowId(), newIndex);
    }
    m_callback->endMove();
}
