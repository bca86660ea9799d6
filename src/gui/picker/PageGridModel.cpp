#include "gui/picker/PageGridModel.h"

#include "gui/filelist/PageImageSource.h"

#include <algorithm>
#include <utility>

PageGridModel::PageGridModel(const QString& pdf, int pageCount, int imageWidth, QObject* parent)
    : QAbstractListModel(parent),
      m_pageCount(std::clamp(pageCount, 0, kMostPages)),
      m_imageWidth(imageWidth),
      m_source(new PageImageSource(pdf, this)),
      m_images(kMostImages)
{
    connect(m_source, &PageImageSource::imageReady, this, &PageGridModel::onImage);
}

PageGridModel::~PageGridModel() = default;

int PageGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_pageCount;
}

QVariant PageGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_pageCount)
        return {};
    const int page = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(page);
    case LabelRole: {
        const auto it = m_labels.find(page);
        return it == m_labels.end() ? QString() : it->second;
    }
    case ImageRole:
        if (const QImage* image = m_images.object(page))
            return *image;
        return QImage();
    case StateRole:
        return m_images.contains(page) ? Drawn : m_failed.count(page) ? Placeholder : Waiting;
    case PickedRole:
        return page >= m_from && page <= m_to;
    case SplitAfterRole:
        return m_split.count(page) > 0;
    case BookmarkStartRole:
        return m_bookmarkStarts.count(page) > 0;
    default:
        return {};
    }
}

void PageGridModel::showPages(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, m_pageCount);
    std::vector<std::pair<int, int>> wanted;
    for (int page = first; page <= last; ++page) {
        if (!m_images.contains(page) && !m_failed.count(page))
            wanted.emplace_back(page, m_imageWidth);
    }
    m_source->replace(wanted);
}

void PageGridModel::onImage(int page, int, const QImage& image)
{
    if (page < 1 || page > m_pageCount)
        return;
    if (image.isNull())
        m_failed.insert(page);
    else
        m_images.insert(page, new QImage(image));
    changed(page, {ImageRole, StateRole});
}

void PageGridModel::changed(int page, const QList<int>& roles)
{
    const QModelIndex at = index(page - 1);
    emit dataChanged(at, at, roles);
}

void PageGridModel::setLabels(const std::map<int, std::string>& labels)
{
    m_labels.clear();
    for (const auto& [page, text] : labels) {
        if (page >= 1 && page <= m_pageCount)
            m_labels[page] = QString::fromStdString(text);
    }
    if (m_pageCount > 0)
        emit dataChanged(index(0), index(m_pageCount - 1), {LabelRole});
}

void PageGridModel::setBookmarkStarts(const std::vector<int>& starts)
{
    m_bookmarkStarts.clear();
    for (int page : starts) {
        if (page >= 1 && page <= m_pageCount)
            m_bookmarkStarts.insert(page);
    }
    if (m_pageCount > 0)
        emit dataChanged(index(0), index(m_pageCount - 1), {BookmarkStartRole});
}

void PageGridModel::setRange(int from, int to)
{
    if (from > to)
        std::swap(from, to);
    from = std::clamp(from, 1, std::max(m_pageCount, 1));
    to = std::clamp(to, 1, std::max(m_pageCount, 1));
    const int low = m_from > 0 ? std::min(from, m_from) : from;
    const int high = std::max(to, m_to);
    m_from = from;
    m_to = to;
    if (m_pageCount > 0)
        emit dataChanged(index(low - 1), index(high - 1), {PickedRole});
}

void PageGridModel::setSplitPoints(const std::vector<int>& points)
{
    m_split.clear();
    for (int page : points) {
        if (page >= 1 && page < m_pageCount)
            m_split.insert(page);
    }
    if (m_pageCount > 0)
        emit dataChanged(index(0), index(m_pageCount - 1), {SplitAfterRole});
}

void PageGridModel::toggleSplitAfter(int page)
{
    if (page < 1 || page >= m_pageCount)
        return;
    if (!m_split.erase(page))
        m_split.insert(page);
    changed(page, {SplitAfterRole});
}

std::vector<int> PageGridModel::splitPoints() const
{
    return {m_split.begin(), m_split.end()};
}

bool PageGridModel::drawing() const
{
    return m_source->drawing();
}

qint64 PageGridModel::childPid() const
{
    return m_source->childPid();
}
