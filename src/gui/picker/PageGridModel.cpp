#include "gui/picker/PageGridModel.h"

#include "gui/filelist/PageImageSource.h"

#include <algorithm>
#include <utility>

PageGridModel::PageGridModel(const QString& pdf, int pageCount, int imageWidth, QObject* parent)
    : QAbstractListModel(parent),
      m_pageCount(std::clamp(pageCount, 0, kMostPages)),
      m_imageWidth(imageWidth),
      m_images(kMostImages)
{
    for (int i = 0; i < kRenderers; ++i) {
        m_sources.push_back(new PageImageSource(pdf, this));
        connect(m_sources.back(), &PageImageSource::imageReady, this, &PageGridModel::onImage);
    }
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
    // Alternate pages to each renderer, so the screen fills from the top on every core.
    std::vector<std::vector<std::pair<int, int>>> wanted(m_sources.size());
    m_pending.clear();
    for (int page = first; page <= last; ++page) {
        if (!m_images.contains(page) && !m_failed.count(page)) {
            wanted[m_pending.size() % wanted.size()].emplace_back(page, m_imageWidth);
            m_pending.insert(page);
        }
    }
    for (std::size_t i = 0; i < m_sources.size(); ++i)
        m_sources[i]->replace(wanted[i]);
    if (m_pending.empty())
        emit screenDrawn();
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
    if (m_pending.erase(page) && m_pending.empty())
        emit screenDrawn();
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
    return std::any_of(m_sources.begin(), m_sources.end(), [](const PageImageSource* source) { return source->drawing(); });
}

qint64 PageGridModel::childPid() const
{
    for (const PageImageSource* source : m_sources) {
        if (const qint64 pid = source->childPid())
            return pid;
    }
    return 0;
}
