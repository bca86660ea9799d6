#pragma once
// The pages of one PDF for the picker's grid: one item per page, its image drawn by the
// renderer only when the grid says the page is on screen, and at most kMostImages images held
// (the least recently drawn go first, and are drawn again when they come back). The model also
// holds what the picker marks: the chosen range, the split points and the bookmark starts.
// Two renderers share each screen, so both processor cores draw it.

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QString>

#include <map>
#include <set>
#include <string>
#include <vector>

class PageImageSource;

class PageGridModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        ImageRole = Qt::UserRole + 1, // QImage; null while waiting or for a placeholder
        StateRole,                    // ImageState
        LabelRole,                    // the page label when it is not the page number
        PickedRole,                   // inside the chosen range
        SplitAfterRole,               // a split point follows the page
        BookmarkStartRole,            // a bookmark of the chosen level starts here
    };
    enum ImageState { Waiting, Drawn, Placeholder };

    static constexpr int kMostImages = 240;
    static constexpr int kRenderers = 2;
    // A page tree that claims more is cut here, as the renderer cuts it.
    static constexpr int kMostPages = 200000;

    PageGridModel(const QString& pdf, int pageCount, int imageWidth, QObject* parent = nullptr);
    ~PageGridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Pages first to last (from 1) are on screen: they are drawn, in that order, and whatever
    // waited for other pages is dropped.
    void showPages(int first, int last);

    void setLabels(const std::map<int, std::string>& labels);
    void setBookmarkStarts(const std::vector<int>& starts);
    void setRange(int from, int to);
    int rangeFrom() const { return m_from; }
    int rangeTo() const { return m_to; }
    void setSplitPoints(const std::vector<int>& points);
    void toggleSplitAfter(int page);
    // In increasing order; never the last page, after which nothing is split.
    std::vector<int> splitPoints() const;

    int heldImages() const { return m_images.size(); }
    // For tests and the bench: whether a renderer draws, and the child of the first that does.
    bool drawing() const;
    qint64 childPid() const;
    bool screenPending() const { return !m_pending.empty(); }

signals:
    // Every page of the last showPages has its image or its placeholder.
    void screenDrawn();

private:
    void onImage(int page, int width, const QImage& image);
    void changed(int page, const QList<int>& roles);

    const int m_pageCount;
    const int m_imageWidth;
    std::vector<PageImageSource*> m_sources;
    std::set<int> m_pending;
    QCache<int, QImage> m_images;
    std::set<int> m_failed;
    std::set<int> m_split;
    std::set<int> m_bookmarkStarts;
    std::map<int, QString> m_labels;
    int m_from = 0;
    int m_to = 0;
};
