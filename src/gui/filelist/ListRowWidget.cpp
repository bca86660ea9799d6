#include "gui/filelist/ListRowWidget.h"

#include "core/common/Utils.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include <atomic>

namespace {
// Ids are never reused within a process, so a late message for a removed row finds nothing.
std::atomic<RowId> nextRowId{1};
} // namespace

ListRowWidget::ListRowWidget(QWidget* parent)
    : QWidget(parent), m_rowId(nextRowId.fetch_add(1))
{
}

void ListRowWidget::setFilePathname(const QString& path)
{
    m_filePathname = path;
    setProperty("filePathname", path);
}

void ListRowWidget::setIcon(QLabel* label, const QString& resource)
{
    label->setProperty("iconResource", resource);
    const QPixmap pixmap(resource);
    if (pixmap.isNull()) {
        label->clear();
        return;
    }
    label->setPixmap(pixmap.size() == QSize(16, 16)
                         ? pixmap
                         : pixmap.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ListRowWidget::styleAsLink(QAbstractButton* button, bool muted)
{
    const QColor colour = muted ? QColor(0x8a, 0x8a, 0x8a) : QColor(0x2b, 0x7d, 0xe9);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::WindowText, colour);
    button->setPalette(palette);
    if (auto* tool = qobject_cast<QToolButton*>(button))
        tool->setAutoRaise(true);
}

QString ListRowWidget::fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QChar(Utils::kPathSeparator)) + 1);
}

void ListRowWidget::paintEvent(QPaintEvent*)
{
    // A hairline under each row separates the rows without a style sheet per row.
    QPainter painter(this);
    painter.setPen(QColor(0xe6, 0xe6, 0xe6));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}
