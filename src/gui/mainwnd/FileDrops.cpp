#include "gui/mainwnd/FileDrops.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

FileDrops::FileDrops(QWidget& window, std::function<void(const QStringList&)> take)
    : QObject(&window), m_take(std::move(take))
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (enter->mimeData()->hasUrls())
            enter->acceptProposedAction();
        return true;
    }
    if (event->type() != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    QStringList paths;
    for (const QUrl& url : drop->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    drop->acceptProposedAction();
    QTimer::singleShot(0, this, [this, paths] { m_take(paths); });
    return true;
}
