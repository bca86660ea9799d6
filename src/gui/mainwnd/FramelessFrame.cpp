#include "gui/mainwnd/FramelessFrame.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

FramelessFrame::FramelessFrame(QWidget& window, QWidget* header, QLabel* title, const CaptionButtons& buttons)
    : QObject(&window), m_window(window), m_header(header), m_title(title), m_buttons(buttons)
{
    m_buttons.minimise->setIcon(QIcon(QStringLiteral(":/KorvexRes/min.png")));
    m_buttons.maximise->setIcon(QIcon(QStringLiteral(":/KorvexRes/max.png")));
    m_buttons.restore->setIcon(QIcon(QStringLiteral(":/KorvexRes/restore.png")));
    m_buttons.close->setIcon(QIcon(QStringLiteral(":/KorvexRes/close.png")));
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_header->installEventFilter(this);
    m_title->installEventFilter(this);
    m_window.installEventFilter(this);
}

void FramelessFrame::setTitle(const QString& text)
{
    m_fullTitle = text;
    m_title->setToolTip(text);
    elideTitle();
}

void FramelessFrame::setBrand(QLabel* label, bool chinese)
{
    const QPixmap brand(chinese ? QStringLiteral(":/KorvexRes/brand.png") : QStringLiteral(":/KorvexRes/brand_e.png"));
    // Our logo is a mark without lettering, so the title gets the room a lettered logo took.
    label->setPixmap(brand.copy(0, 0, std::min(brand.width(), 48), brand.height()));
    label->setFixedWidth(48);
}

void FramelessFrame::elideTitle()
{
    const int room = std::max(40, m_title->contentsRect().width());
    m_title->setText(m_title->fontMetrics().elidedText(m_fullTitle, Qt::ElideRight, room));
}

void FramelessFrame::updateCaptionButtons()
{
    const bool maximized = m_window.isMaximized();
    m_buttons.maximise->setVisible(!maximized);
    m_buttons.restore->setVisible(maximized);
}

bool FramelessFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window) {
        if (event->type() == QEvent::WindowStateChange)
            updateCaptionButtons();
        return false;
    }
    // The title's room changes with the window and with the header's other texts (language,
    // account name): shortened again for whatever room it has now.
    if (watched == m_title) {
        if (event->type() == QEvent::Resize && !m_fullTitle.isEmpty())
            elideTitle();
        return false;
    }
    if (watched == m_header && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_window.windowHandle()) {
        m_window.windowHandle()->startSystemMove();
        return true;
    }
    if (watched == m_header && event->type() == QEvent::MouseButtonDblClick) {
        m_window.isMaximized() ? m_window.showNormal() : m_window.showMaximized();
        return true;
    }
    return false;
}
