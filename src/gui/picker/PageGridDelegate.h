#pragma once
// Draws one page of the picker's grid: its image (grey while it is drawn, the crossed
// placeholder when it cannot be), the page number and label under it, the chosen range, a flag
// where a bookmark starts, and to its right the gap a click in which sets a split point.

#include <QRect>
#include <QStyledItemDelegate>

class PageGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kImageWidth = 110;
    static constexpr int kImageHeight = 150;
    static constexpr int kMargin = 6;
    static constexpr int kGap = 16;

    explicit PageGridDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Whether the gaps are drawn (split rows only).
    void setShowGaps(bool show) { m_showGaps = show; }
    // The gap after the page whose item fills cell.
    static QRect gapOf(const QRect& cell);

private:
    bool m_showGaps = false;
};
