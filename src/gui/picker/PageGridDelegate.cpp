#include "gui/picker/PageGridDelegate.h"

#include "gui/filelist/PageImageSource.h"
#include "gui/picker/PageGridModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace {

const QColor kPicked(0x2f, 0x7d, 0xe1);
const QColor kSplit(0xe0, 0x3c, 0x31);
const QColor kBookmark(0xf2, 0xa9, 0x00);
const QColor kWaiting(0xee, 0xee, 0xee);

QRect imageBox(const QRect& cell)
{
    return {cell.left() + PageGridDelegate::kMargin, cell.top() + PageGridDelegate::kMargin,
            PageGridDelegate::kImageWidth, PageGridDelegate::kImageHeight};
}

} // namespace

PageGridDelegate::PageGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize PageGridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const int line = QFontMetrics(option.font).height();
    return {kMargin + kImageWidth + kGap, kMargin + kImageHeight + 4 + 2 * line + kMargin};
}

QRect PageGridDelegate::gapOf(const QRect& cell)
{
    return {cell.right() - kGap + 1, cell.top(), kGap, cell.height()};
}

void PageGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    const QRect cell = option.rect;
    const QRect box = imageBox(cell);
    const bool picked = index.data(PageGridModel::PickedRole).toBool();
    if (picked)
        painter->fillRect(cell.adjusted(0, 0, -kGap, 0), kPicked.lighter(185));

    const int state = index.data(PageGridModel::StateRole).toInt();
    if (state == PageGridModel::Drawn) {
        const QImage image = index.data(PageGridModel::ImageRole).value<QImage>();
        const QSize fitted = image.size().scaled(box.size(), Qt::KeepAspectRatio);
        const QRect target(box.left() + (box.width() - fitted.width()) / 2, box.top(), fitted.width(),
                           fitted.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, image);
        painter->setPen(QColor(0xb0, 0xb0, 0xb0));
        painter->drawRect(target.adjusted(0, 0, -1, -1));
    } else if (state == PageGridModel::Placeholder) {
        painter->drawImage(box, PageImageSource::placeholder(box.size()));
    } else {
        painter->fillRect(box, kWaiting);
    }
    if (picked) {
        painter->setPen(QPen(kPicked, 2));
        painter->drawRect(box.adjusted(-1, -1, 0, 0));
    }
    if (index.data(PageGridModel::BookmarkStartRole).toBool()) {
        const QPolygon flag({box.topLeft(), box.topLeft() + QPoint(18, 0), box.topLeft() + QPoint(0, 18)});
        painter->setPen(Qt::NoPen);
        painter->setBrush(kBookmark);
        painter->drawPolygon(flag);
    }
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.highlight().color(), 1, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(1, 1, -kGap - 1, -2));
    }

    const int line = QFontMetrics(option.font).height();
    const QRect numberLine(cell.left(), box.bottom() + 4, cell.width() - kGap, line);
    painter->setPen(option.palette.text().color());
    painter->drawText(numberLine, Qt::AlignHCenter | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
    const QString label = index.data(PageGridModel::LabelRole).toString();
    if (!label.isEmpty()) {
        painter->setPen(option.palette.placeholderText().color());
        const QRect labelLine = numberLine.translated(0, line);
        painter->drawText(labelLine, Qt::AlignHCenter | Qt::AlignTop,
                          QFontMetrics(option.font).elidedText(label, Qt::ElideRight, labelLine.width()));
    }

    if (m_showGaps) {
        const QRect gap = gapOf(cell).adjusted(4, kMargin, -4, -kMargin);
        if (index.data(PageGridModel::SplitAfterRole).toBool()) {
            painter->fillRect(gap, kSplit);
        } else {
            painter->setPen(QPen(QColor(0xcc, 0xcc, 0xcc), 1, Qt::DotLine));
            painter->drawLine(gap.center().x(), gap.top(), gap.center().x(), gap.bottom());
        }
    }
    painter->restore();
}
