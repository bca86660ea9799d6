#include "gui/picker/PagePickerDialog.h"

#include "ui_PagePickerDialog.h"

#include "core/app/Glossary.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/common/QtText.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/picker/PageFacts.h"
#include "gui/picker/PageGridDelegate.h"
#include "gui/picker/PageGridModel.h"

#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace {

// The delay that gathers a burst of scroll steps into one request for the pages then shown.
constexpr int kSettleMs = 15;

QString joined(const std::vector<int>& pages)
{
    QStringList parts;
    for (int page : pages)
        parts << QString::number(page);
    return parts.join(QLatin1Char(','));
}

} // namespace

PagePickerDialog::PagePickerDialog(FileRowWidget& row, int pageCount, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::PagePickerDialog>()),
      m_row(row),
      m_mode(row.rowTemplate() == FileRowWidget::WithPage ? Range : SplitPoints),
      m_bookmarkLevel(row.bookmarkLevel())
{
    m_ui->setupUi(this);
    const qreal ratio = std::max<qreal>(1.0, devicePixelRatioF());
    m_model = new PageGridModel(row.pageSource(), pageCount,
                                static_cast<int>(PageGridDelegate::kImageWidth * ratio), this);
    m_delegate = new PageGridDelegate(this);
    m_delegate->setShowGaps(m_mode == SplitPoints);
    QListView* view = m_ui->pagegrid;
    view->setItemDelegate(m_delegate);
    view->setModel(m_model);
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    // Labels and bookmark starts are looked up once the first screen is drawn, so they do not
    // compete with it for the processor.
    connect(m_model, &PageGridModel::screenDrawn, this, [this] {
        if (m_facts)
            return;
        m_facts = new PageFacts(m_row.pageSource(), m_mode == SplitPoints ? m_bookmarkLevel : 0, this);
        connect(m_facts, &PageFacts::labelsKnown, m_model, &PageGridModel::setLabels);
        connect(m_facts, &PageFacts::bookmarkStartsKnown, m_model, &PageGridModel::setBookmarkStarts);
    });

    m_visibleTimer.setSingleShot(true);
    m_visibleTimer.setInterval(kSettleMs);
    connect(&m_visibleTimer, &QTimer::timeout, this, &PagePickerDialog::showVisiblePages);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { m_visibleTimer.start(); });
    connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { m_visibleTimer.start(); });
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    pick(current.row() + 1, m_extend);
            });
    connect(m_ui->pickerbuttons, &QDialogButtonBox::accepted, this, &PagePickerDialog::accept);
    connect(m_ui->pickerbuttons, &QDialogButtonBox::rejected, this, &PagePickerDialog::reject);
    m_ui->pickerbuttons->button(QDialogButtonBox::Ok)->setDefault(true);

    int start = 1;
    if (m_mode == Range) {
        int from = 1, to = pageCount;
        if (!row.pageRange(from, to))
            from = 1, to = pageCount;
        m_model->setRange(from, to);
        m_anchor = m_model->rangeFrom();
        start = m_anchor;
    } else {
        m_model->setSplitPoints(row.splitPoints());
    }
    m_startPage = start;
    if (m_model->rowCount() > 0) {
        // Setting the current page must not pick it: the row's range stays until the user picks.
        const QSignalBlocker quiet(view->selectionModel());
        view->setCurrentIndex(m_model->index(start - 1));
    }
    view->setFocus();
    updateTexts();
}

PagePickerDialog::~PagePickerDialog() = default;

QListView* PagePickerDialog::grid() const
{
    return m_ui->pagegrid;
}

void PagePickerDialog::pick(int page, bool extend)
{
    if (m_mode != Range)
        return;
    if (!extend)
        m_anchor = page;
    m_model->setRange(m_anchor, page);
    updateTexts();
}

bool PagePickerDialog::eventFilter(QObject* watched, QEvent* event)
{
    QListView* view = m_ui->pagegrid;
    if (watched == view->viewport()) {
        if (event->type() == QEvent::Resize)
            m_visibleTimer.start();
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex at = view->indexAt(mouse->position().toPoint());
            if (!at.isValid() || mouse->button() != Qt::LeftButton)
                return true;
            const int page = at.row() + 1;
            if (m_mode == SplitPoints) {
                view->setCurrentIndex(at);
                if (PageGridDelegate::gapOf(view->visualRect(at)).contains(mouse->position().toPoint())) {
                    m_model->toggleSplitAfter(page);
                    m_pointsChanged = true;
                    updateTexts();
                }
                return true;
            }
            m_extend = mouse->modifiers() & Qt::ShiftModifier;
            view->setCurrentIndex(at);
            pick(page, m_extend); // also when the page was current already
            m_extend = false;
            return true;
        }
    } else if (watched == view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && m_mode == SplitPoints && view->currentIndex().isValid()) {
            m_model->toggleSplitAfter(view->currentIndex().row() + 1);
            m_pointsChanged = true;
            updateTexts();
            return true;
        }
        // Arrows move the current page; with Shift held they move the range's last page.
        m_extend = key->modifiers() & Qt::ShiftModifier;
    } else if (watched == view && event->type() == QEvent::KeyRelease) {
        m_extend = false;
    }
    return QDialog::eventFilter(watched, event);
}

void PagePickerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_visibleTimer.start();
}

void PagePickerDialog::showVisiblePages()
{
    QListView* view = m_ui->pagegrid;
    const QRect area = view->viewport()->rect();
    if (m_model->rowCount() == 0 || area.isEmpty() || !isVisible())
        return;
    if (m_startPage > 0) {
        // Only once the grid has its width do lines, and so the start page's line, exist.
        view->scrollTo(m_model->index(m_startPage - 1), QAbstractItemView::PositionAtTop);
        m_startPage = 0;
    }
    const QModelIndex first = view->indexAt(area.topLeft() + QPoint(1, 1));
    if (!first.isValid())
        return;
    const QRect cell = view->visualRect(first);
    const int perLine = std::max(1, area.width() / std::max(1, cell.width()));
    const int lines = area.height() / std::max(1, cell.height()) + 2;
    // Line starts are multiples of perLine, so the screen ends perLine * lines after its first line.
    const int firstPage = first.row() / perLine * perLine + 1;
    m_model->showPages(firstPage, firstPage + perLine * lines - 1);
}

void PagePickerDialog::accept()
{
    if (m_mode == Range) {
        if (m_model->rangeFrom() > 0)
            m_row.setPageRange(m_model->rangeFrom(), m_model->rangeTo());
    } else if (m_pointsChanged) {
        m_row.setSplitPoints(m_model->splitPoints());
    }
    QDialog::accept();
}

void PagePickerDialog::updateTexts()
{
    setWindowTitle(toQt(Glossary::text(TextId::PickerTitle, fromQt(QFileInfo(m_row.filePathname()).fileName()))));
    QString hint = toQt(Glossary::text(m_mode == Range ? TextId::PickerRangeHint : TextId::PickerSplitHint));
    if (m_mode == SplitPoints && m_bookmarkLevel > 0)
        hint += QLatin1Char('\n') + toQt(Glossary::text(TextId::PickerBookmarkHint, std::to_wstring(m_bookmarkLevel)));
    m_ui->pickerhintlbl->setText(hint);
    if (m_mode == Range) {
        m_ui->pickedlbl->setText(toQt(Glossary::text(Glossary::TextRequest(
            TextId::PickedRange,
            {std::to_wstring(m_model->rangeFrom()), std::to_wstring(m_model->rangeTo())}))));
    } else {
        const std::vector<int> points = m_model->splitPoints();
        m_ui->pickedlbl->setText(points.empty() ? toQt(Glossary::text(TextId::NoPickedPoints))
                                                : toQt(Glossary::text(TextId::PickedPoints, fromQt(joined(points)))));
    }
    m_ui->pickerbuttons->button(QDialogButtonBox::Ok)->setText(toQt(Glossary::text(TextId::Ok)));
    m_ui->pickerbuttons->button(QDialogButtonBox::Cancel)->setText(toQt(Glossary::text(TextId::Cancel)));
}

void PagePickerDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        updateTexts();
    QDialog::changeEvent(event);
}
