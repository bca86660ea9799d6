#include "gui/filelist/FileRowWidget.h"

#include "ui_FileRowWidgetSplit.h"
#include "ui_FileRowWidgetWithPage.h"

#include "core/app/Glossary.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/converter/InputElement.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PieceSize.h"
#include "core/converter/RowEntry.h"
#include "core/converter/WorkingZone.h"
#include "gui/common/QtText.h"
#include "gui/common/RichText.h"
#include "gui/filelist/RowThumbnail.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>

#include <tuple>

namespace {

const QString kPdfIcon = QStringLiteral(":/KorvexRes/16pdf.png");
const QString kCheckIcon = QStringLiteral(":/KorvexRes/check.png");
const QString kHelpIcon = QStringLiteral(":/KorvexRes/question.png");
// Items of splitcombo after "Max pages" (0).
constexpr int kPointsIndex = 1;
constexpr int kBookmarksIndex = 2;
constexpr int kSizeIndex = 3;

} // namespace

FileRowWidget::FileRowWidget(Template tmpl, QWidget* parent)
    : ListRowWidget(parent), m_template(tmpl)
{
    if (tmpl == Split)
        setupSplit();
    else
        setupWithPage();
    m_fileName->setTextFormat(Qt::PlainText);
    m_fileSize->setTextFormat(Qt::PlainText);
    setProperty("Converted", QStringLiteral("false"));
    connectParts();
    retranslateOwnParts();
}

FileRowWidget::~FileRowWidget() = default;

FileRowWidget::Template FileRowWidget::templateForZone(int zone)
{
    const WorkingZone::Info* pdfZone = WorkingZone::info(zone);
    return pdfZone && pdfZone->rowForm == WorkingZone::RowForm::WithPage ? WithPage : Split;
}

// Both forms name their common parts alike.
template <class Form>
void FileRowWidget::bindParts(Form& ui)
{
    std::tie(m_fileName, m_fileSize, m_fromFormat, m_toFormat, m_status, m_resultMark) =
        std::tie(ui.filenamelbl, ui.filesizecol, ui.fromfmt_ctrl, ui.tofmt_ctrl, ui.promoptlbl, ui.resultCtrl);
    std::tie(m_pageFrom, m_pageTo, m_openButton, m_removeButton) =
        std::tie(ui.pagefromlbl, ui.pagetolbl, ui.itemopenfilebtn, ui.itemrmfilebtn);
    std::tie(m_progress, m_resultBox, m_openBox) = std::tie(ui.processingprog, ui.resultHor, ui.fileopenrow);
    addPageParts(ui.columnsLayout, ui.operationLayout);
}

void FileRowWidget::addPageParts(QHBoxLayout* columns, QHBoxLayout* operations)
{
    m_thumbnail = new RowThumbnail(this);
    columns->insertWidget(0, m_thumbnail);
    m_pickButton = new QToolButton(this);
    m_pickButton->setObjectName(QStringLiteral("itempickpagesbtn"));
    m_pickButton->hide();
    operations->insertWidget(0, m_pickButton);
    // The picture follows the first page of the range.
    connect(m_pageFrom, &QLineEdit::textChanged, this, [this](const QString& text) {
        int page = 0;
        if (Converter::readNumber(fromQt(text), page) == Converter::PageTextStatus::Ok)
            m_thumbnail->showPage(page);
    });
}

void FileRowWidget::setupWithPage()
{
    m_withPageUi = std::make_unique<Ui::FileRowWidgetWithPage>();
    Ui::FileRowWidgetWithPage& ui = *m_withPageUi;
    ui.setupUi(this);
    bindParts(ui);
}

void FileRowWidget::setupSplit()
{
    m_splitUi = std::make_unique<Ui::FileRowWidgetSplit>();
    Ui::FileRowWidgetSplit& ui = *m_splitUi;
    ui.setupUi(this);
    bindParts(ui);

    // Digits only, but the box may be emptied while typing; reading it reports an empty box.
    ui.pagespacingedit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setIcon(ui.freespacinghelp, kHelpIcon);
    if (ui.freespacinghelp->pixmap().isNull())
        ui.freespacinghelp->setText(QStringLiteral("?"));
    addSizeBox();
    connect(ui.splitcombo, &QComboBox::currentIndexChanged, this,
            &FileRowWidget::showSplitEditor);
    showSplitEditor(ui.splitcombo->currentIndex());
}

void FileRowWidget::addSizeBox()
{
    Ui::FileRowWidgetSplit& ui = *m_splitUi;
    ui.splitcombo->addItem(QString()); // kSizeIndex
    m_sizeBox = new QWidget(this);
    m_sizeBox->setObjectName(QStringLiteral("piecesizehor"));
    auto* layout = new QHBoxLayout(m_sizeBox);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->setSpacing(4);
    m_sizeEdit = new QLineEdit(QStringLiteral("10"), m_sizeBox);
    m_sizeEdit->setObjectName(QStringLiteral("piecesizeedit"));
    m_sizeEdit->setFixedSize(56, 24);
    m_sizeEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*[.]?[0-9]*")), this));
    m_sizeUnit = new QLabel(m_sizeBox);
    m_sizeUnit->setObjectName(QStringLiteral("piecesizeunitlbl"));
    layout->addWidget(m_sizeEdit);
    layout->addWidget(m_sizeUnit);
    ui.splitBarLayout->insertWidget(ui.splitBarLayout->indexOf(ui.bookmarklevelhor) + 1, m_sizeBox);
}

void FileRowWidget::retranslateOwnParts()
{
    if (m_pickButton)
        m_pickButton->setText(toQt(Glossary::text(TextId::PickPages)));
    if (m_splitUi)
        m_splitUi->splitcombo->setItemText(kSizeIndex, toQt(Glossary::text(TextId::SplitBySize)));
    if (m_sizeUnit)
        m_sizeUnit->setText(toQt(Glossary::text(TextId::MegabytesPerPiece)));
    if (m_reverse)
        m_reverse->setText(toQt(Glossary::text(TextId::ReversePages)));
}

void FileRowWidget::connectParts()
{
    styleAsLink(m_openButton);
    styleAsLink(m_removeButton, true);
    connect(m_removeButton, &QToolButton::clicked, this, [this] { emit removeRequested(this); });
    connect(m_openButton, &QToolButton::clicked, this, [this] { emit openRequested(this); });
    styleAsLink(m_pickButton);
    connect(m_pickButton, &QToolButton::clicked, this, [this] { emit pickRequested(this); });
}

void FileRowWidget::showSplitEditor(int comboIndex)
{
    m_splitUi->freepageselecthor->setVisible(comboIndex == kPointsIndex);
    m_splitUi->pagespacinghor->setVisible(comboIndex == 0);
    m_splitUi->bookmarklevelhor->setVisible(comboIndex == kBookmarksIndex);
    m_sizeBox->setVisible(comboIndex == kSizeIndex);
}

void FileRowWidget::showSettingsFor(int zone)
{
    if (zone == WorkingZone::Merge && m_withPageUi && !m_reverse) {
        // For the backs of a duplex scan, scanned last page first.
        m_reverse = new QCheckBox(this);
        m_reverse->setObjectName(QStringLiteral("reversecheck"));
        m_withPageUi->columnsLayout->insertWidget(m_withPageUi->columnsLayout->indexOf(m_withPageUi->pageRangeColumn) + 1,
                                                  m_reverse);
        retranslateOwnParts();
    }
    if (!m_splitUi)
        return;
    Ui::FileRowWidgetSplit& ui = *m_splitUi;
    const bool compress = zone == WorkingZone::Compress;
    ui.compresslevellbl->setVisible(compress);
    ui.compresscombo->setVisible(compress);
    ui.splitmodelbl->setVisible(!compress);
    ui.splitcombo->setVisible(!compress);
    if (compress) {
        ui.pagespacinghor->hide();
        ui.freepageselecthor->hide();
        ui.bookmarklevelhor->hide();
        m_sizeBox->hide();
    } else {
        showSplitEditor(ui.splitcombo->currentIndex());
    }
}

void FileRowWidget::showResultNote(const QString& text)
{
    setStatusText(text);
    m_status->show();
}

void FileRowWidget::fill(const std::wstring& path, std::int64_t size)
{
    const QString qpath = toQt(path);
    setFilePathname(qpath);
    m_fileSize->setText(toQt(Utils::formatFileSize(static_cast<double>(size))));
    const QString name = fileNameOf(qpath);
    m_fileName->setText(name);
    m_fileName->setToolTip(name);
    setIcon(m_fromFormat, kPdfIcon);
    setIcon(m_toFormat, kPdfIcon);
    setProperty("Converted", QStringLiteral("false"));
    setStatusText(toQt(Glossary::text(
        Glossary::TextRequest(TextId::Waiting, Glossary::text(TextId::ConversionWord)))));
}

void FileRowWidget::setStatusText(const QString& text)
{
    m_status->setText(RichText::fromMarkup(text));
}

void FileRowWidget::showProgress()
{
    m_progress->show();
    m_status->hide();
}

void FileRowWidget::setProgress(int percent)
{
    m_progress->setValue(qBound(0, percent, 100));
}

void FileRowWidget::setPageRange(int from, int to)
{
    m_pageFrom->setText(QString::number(from));
    m_pageTo->setText(QString::number(to));
}

void FileRowWidget::showRemoveButton(bool show)
{
    m_removeButton->setVisible(show);
}

void FileRowWidget::showResult(bool ok, const std::wstring& output, const QString& successText,
                               const QString& failText)
{
    setProperty("Converted", QStringLiteral("true"));
    m_progress->hide();
    m_status->hide();
    if (ok) {
        m_resultBox->show();
        setIcon(m_resultMark, kCheckIcon);
        m_openBox->show();
        m_openButton->setProperty("openedFilename", toQt(output));
        setStatusText(successText);
    } else {
        setStatusText(failText);
        m_status->show();
        m_resultBox->hide();
    }
}

bool FileRowWidget::isConverted() const
{
    return property("Converted").toString() == QLatin1String("true");
}

QString FileRowWidget::openedFilename() const
{
    return m_openButton->property("openedFilename").toString();
}

bool FileRowWidget::readInto(RowEntry& entry, int zone, QString* problem) const
{
    using Converter::PageTextStatus;
    // Refused rather than guessed: the row says which box to correct and the entry stays.
    const auto refuse = [problem](int box) {
        if (problem)
            *problem = toQt(Glossary::text(Glossary::TextRequest(TextId::CorrectYour, Glossary::text(box))));
        return false;
    };
    RowEntry read = entry;
    // A range that is not a number gives 1 to 1000 (qpdf then judges it); one too big for an
    // int is refused, since no clamped guess would be the pages the user meant.
    if (Converter::readPageRange(fromQt(m_pageFrom->text()), fromQt(m_pageTo->text()),
                                 read.fromPage, read.toPage) != PageTextStatus::Ok)
        return refuse(TextId::PageRangeWord);
    if (zone == WorkingZone::Compress && m_splitUi)
        read.compressionLevel = m_splitUi->compresscombo->currentIndex();
    if (zone == WorkingZone::Merge)
        read.reversed = m_reverse && m_reverse->isChecked();
    if (zone == WorkingZone::Split && m_splitUi) {
        using Converter::InputElement;
        const int mode = m_splitUi->splitcombo->currentIndex();
        read.splitMode = mode == 0               ? InputElement::kSplitEvery
                         : mode == kBookmarksIndex ? InputElement::kSplitByBookmarks
                         : mode == kSizeIndex      ? InputElement::kSplitBySize
                                                   : InputElement::kSplitAtPoints;
        if (read.splitMode == InputElement::kSplitBySize) {
            if (Converter::readPieceMegabytes(fromQt(m_sizeEdit->text()), read.pieceBytes) != Converter::PieceSizeStatus::Ok) {
                if (problem)
                    *problem = toQt(Glossary::text(TextId::PieceSizeOutOfRange));
                return false;
            }
        } else if (read.splitMode == 2) {
            read.bookmarkLevel = m_splitUi->bookmarklevelspin->value();
        } else if (read.splitMode == 1) {
            // A size below 1 would never end the plan.
            int size = 0;
            if (Converter::readPiecesSize(fromQt(m_splitUi->pagespacingedit->text()), size) !=
                PageTextStatus::Ok)
                return refuse(TextId::PagesPerDocument);
            read.pagesPerPiece = size;
        } else if (Converter::readSplitPoints(fromQt(m_splitUi->freespacingedit->text()),
                                              read.splitPoints) != PageTextStatus::Ok) {
            // An emptied list would quietly write the whole file as one piece.
            return refuse(TextId::SplitPointsWord);
        }
    }
    entry = std::move(read);
    return true;
}

void FileRowWidget::setPageSource(const QString& pdf)
{
    m_pageSource = pdf;
    m_thumbnail->setDocument(pdf);
    int from = 0;
    if (Converter::readNumber(fromQt(m_pageFrom->text()), from) == Converter::PageTextStatus::Ok)
        m_thumbnail->showPage(from);
}

void FileRowWidget::showPickButton(bool show)
{
    m_pickButton->setVisible(show);
}

bool FileRowWidget::pageRange(int& from, int& to) const
{
    return Converter::readPageRange(fromQt(m_pageFrom->text()), fromQt(m_pageTo->text()), from, to) ==
           Converter::PageTextStatus::Ok;
}

std::vector<int> FileRowWidget::splitPoints() const
{
    std::vector<int> points;
    if (m_splitUi)
        Converter::readSplitPoints(fromQt(m_splitUi->freespacingedit->text()), points);
    return points;
}

int FileRowWidget::bookmarkLevel() const
{
    if (!m_splitUi || m_splitUi->splitcombo->currentIndex() != kBookmarksIndex)
        return 0;
    return m_splitUi->bookmarklevelspin->value();
}

void FileRowWidget::setSplitPoints(const std::vector<int>& points)
{
    if (!m_splitUi)
        return;
    QStringList parts;
    for (int point : points)
        parts << QString::number(point);
    m_splitUi->freespacingedit->setText(parts.join(QLatin1Char(',')));
    m_splitUi->splitcombo->setCurrentIndex(kPointsIndex);
}

void FileRowWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // Only the layout texts follow; status and file name were set by code and stay.
        if (m_withPageUi)
            m_withPageUi->retranslateUi(this);
        if (m_splitUi)
            m_splitUi->retranslateUi(this);
        retranslateOwnParts();
    }
    ListRowWidget::changeEvent(event);
}
