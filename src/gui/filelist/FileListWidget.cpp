#include "gui/filelist/FileListWidget.h"

#include <QScrollBar>
#include <QVBoxLayout>

FileListWidget::FileListWidget(const QString& name, QWidget* parent)
    : QScrollArea(parent), m_container(new QWidget), m_layout(new QVBoxLayout(m_container))
{
    setObjectName(name);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    m_container->setObjectName(name + QStringLiteral("_rows"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);
    setWidget(m_container);
}

bool FileListWidget::addRow(ListRowWidget* row)
{
    if (!row || m_byId.contains(row->rowId()))
        return false;
    if (m_maximumRows >= 0 && rowCount() >= m_maximumRows) {
        delete row;
        return false;
    }
    // Before the stretch that keeps rows at the top. The layout only relays out once the event
    // loop runs, so adding many rows stays linear.
    m_layout->insertWidget(rowCount(), row);
    row->setVisible(true);
    m_rows.append(row);
    m_byId.insert(row->rowId(), row);
    rowAdded(row);
    return true;
}

void FileListWidget::dropRow(ListRowWidget* row)
{
    m_layout->removeWidget(row);
    row->hide();
    row->deleteLater();
}

void FileListWidget::removeRow(RowId id)
{
    ListRowWidget* target = m_byId.take(id);
    if (!target)
        return;
    m_rows.removeOne(target);
    dropRow(target);
}

bool FileListWidget::moveRow(RowId id, int newIndex)
{
    ListRowWidget* target = m_byId.value(id);
    if (!target)
        return false;
    newIndex = qBound(0, newIndex, rowCount() - 1);
    const int scroll = verticalScrollBar()->value();
    m_rows.removeOne(target);
    m_rows.insert(newIndex, target);
    m_layout->removeWidget(target);
    m_layout->insertWidget(newIndex, target);
    m_layout->activate();
    verticalScrollBar()->setValue(scroll);
    return true;
}

void FileListWidget::clear()
{
    const QList<ListRowWidget*> all = m_rows;
    m_rows.clear();
    m_byId.clear();
    for (ListRowWidget* r : all)
        dropRow(r);
}

ListRowWidget* FileListWidget::row(RowId id) const
{
    return m_byId.value(id);
}

int FileListWidget::indexOf(RowId id) const
{
    ListRowWidget* target = m_byId.value(id);
    return target ? static_cast<int>(m_rows.indexOf(target)) : -1;
}

ListRowWidget* FileListWidget::findByPath(const QString& path) const
{
    for (ListRowWidget* r : m_rows) {
        if (r->filePathname() == path)
            return r;
    }
    return nullptr;
}
