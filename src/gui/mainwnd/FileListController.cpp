#include "gui/mainwnd/FileListController.h"

#include "core/actions/ActionPayloads.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/converter/CompressionSummary.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/message/WindowMessages.h"
#include "core/tasks/CommonListItemCallback.h"
#include "core/tasks/ConversionTasks.h"
#include "core/tasks/RowRegistry.h"
#include "core/tasks/TaskPayloads.h"
#include "core/tasks/TaskThreads.h"
#include "core/user/User.h"
#include "gui/common/DesktopUtils.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/dialogs/PasswordWnd.h"
#include "gui/filelist/CMyListUI.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/ListAdding.h"
#include "gui/mainwnd/MergeModeBar.h"
#include "gui/mainwnd/PaneSwitcher.h"
#include "gui/picker/PagePickerDialog.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QMessageBox>
#include <QStackedWidget>

#include <QVBoxLayout>
#include <algorithm>

FileListController::FileListController(QWidget& window, WindowHandle seam, PaneSwitcher& switcher,
                                       std::shared_ptr<RowRegistry> registry, TaskThreads& tasks,
                                       QStackedWidget* workingzone)
    : m_window(window), m_seam(seam), m_switcher(switcher), m_registry(std::move(registry)), m_tasks(tasks)
{
    for (int zone = PaneSwitcher::kFirstPdfZone; zone <= PaneSwitcher::kLastPdfZone; ++zone) {
        QWidget* page = workingzone->widget(zone);
        if (zone == WorkingZone::Merge) {
            m_mergeMode = new MergeModeBar(page);
            page->layout()->addWidget(m_mergeMode);
        }
        FileListWidget* list = zone == WorkingZone::Merge ? new CMyListUI(PaneSwitcher::listName(zone), page)
                                                  : new FileListWidget(PaneSwitcher::listName(zone), page);
        page->layout()->addWidget(list);
        m_lists[zone] = list;
    }
    mergeList()->setDragCallBack(this);
}

FileListController::~FileListController() = default;

FileListWidget* FileListController::list(int zone) const
{
    const auto it = m_lists.find(zone);
    return it == m_lists.end() ? nullptr : it->second;
}

CMyListUI* FileListController::mergeList() const
{
    return static_cast<CMyListUI*>(list(WorkingZone::Merge));
}

FileRowWidget* FileListController::rowWidget(RowId row) const
{
    const auto entry = m_registry->copy(row);
    if (!entry)
        return nullptr;
    FileListWidget* owner = list(entry->zone);
    return owner ? dynamic_cast<FileRowWidget*>(owner->row(row)) : nullptr;
}

void FileListController::prompt(const std::wstring& text)
{
    CMessageWnd::showMessage(&m_window, toQt(Glossary::text(TextId::Prompt)), toQt(text), CMessageWnd::ConfirmOnly);
}

bool FileListController::mayAddFiles()
{
    if (!m_inspectionIdle) {
        prompt(Glossary::text(TextId::BusyPreprocessing));
        return false;
    }
    if (m_switcher.zoneState(m_switcher.currentZone()) == PaneSwitcher::Converting) {
        prompt(Glossary::text(TextId::BusyConverting));
        return false;
    }
    return true;
}

bool FileListController::zoneAccepts(const QString& path) const
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    return PaneSwitcher::isPdfZone(m_switcher.currentZone()) &&
           path.mid(dot + 1).compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

void FileListController::addFromDialog()
{
    if (!mayAddFiles())
        return;
    m_inspectionIdle = false;
    const PaneSwitcher::FileDialogSpec dialog = m_switcher.fileDialogSpec();
    const std::wstring answer = DesktopUtils::selectFiles(&m_window, dialog.title, dialog.filter, 1);
    if (answer.empty()) {
        m_inspectionIdle = true;
        return;
    }
    QStringList paths;
    for (const QString& path : toQt(answer).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (zoneAccepts(path))
            paths << path;
    }
    addFiles(paths);
}

void FileListController::wireRow(FileRowWidget* row)
{
    connect(row, &FileRowWidget::removeRequested, this, &FileListController::removeRow);
    connect(row, &FileRowWidget::openRequested, this, &FileListController::openOutput);
    connect(row, &FileRowWidget::pickRequested, this, &FileListController::pickPages);
}

void FileListController::addFiles(const QStringList& paths)
{
    if (paths.isEmpty()) {
        m_inspectionIdle = true;
        return;
    }
    const int zone = m_switcher.currentZone();
    FileListWidget* target = list(zone);
    if (!target) {
        m_inspectionIdle = true;
        return;
    }
    const int previousState = m_switcher.zoneState(zone);
    m_switcher.setState(zone, PaneSwitcher::Inspecting);
    ListAdding adder(target, FileRowWidget::templateForZone(zone));
    const int before = target->rowCount();
    for (const QString& path : paths) {
        const std::wstring wide = fromQt(path);
        const int result = adder.add(wide);
        const std::wstring title = Utils::getFileTitle(wide);
        if (result == ListAdding::Added) {
            adder.fill(zone);
            if (auto* row = dynamic_cast<FileRowWidget*>(adder.lastRow()))
                wireRow(row);
        } else if (result == ListAdding::AlreadyListed) {
            prompt(Glossary::text(Glossary::TextRequest(TextId::FileState, {title, Glossary::text(TextId::IsAdded)})));
        } else if (result == ListAdding::Unreadable) {
            prompt(Glossary::text(Glossary::TextRequest(TextId::FileState, {title, Glossary::text(TextId::IsNotExisting)})));
        } else {
            prompt(Glossary::text(TextId::AddFileFailed));
        }
    }
    if (target->rowCount() == before) {
        m_switcher.setState(zone, previousState);
        m_inspectionIdle = true;
        return;
    }
    const QList<ListRowWidget*> rows = target->rows();
    for (int i = before; i < rows.size(); ++i)
        m_registry->append(rows[i]->rowId(), RowEntry(fromQt(rows[i]->filePathname()), zone));
    const WindowHandle window = m_seam;
    std::shared_ptr<RowRegistry> registry = m_registry;
    m_tasks.start([registry, window, zone] { ConversionTasks::inspectFiles(registry, window, zone); });
}

void FileListController::onCheckStatus(int step, RowId row)
{
    if (step == InspectionStep::PasswordNeeded) {
        askPassword(row); // answers the waiting worker whatever became of the row
        return;
    }
    FileRowWidget* widget = rowWidget(row);
    if (!widget)
        return;
    switch (step) {
    case InspectionStep::CheckingEncryption:
        widget->setStatusText(toQt(Glossary::text(TextId::CheckEncryptStatus)));
        break;
    case InspectionStep::Decrypting:
        widget->setStatusText(toQt(Glossary::text(TextId::DecryptingFile)));
        break;
    case InspectionStep::CountingPages:
        widget->setStatusText(toQt(Glossary::text(TextId::GettingPages)));
        break;
    case InspectionStep::PageCountStored: {
        const auto entry = m_registry->copy(row);
        if (!entry || entry->pageCount == -1) {
            widget->setStatusText(toQt(Glossary::text(TextId::PageCountFailed)));
        } else {
            widget->setStatusText(toQt(Glossary::text(TextId::Waiting, PaneSwitcher::statusWord(entry->zone))));
            widget->setPageRange(1, entry->pageCount);
            widget->setPageSource(toQt(entry->path));
            widget->showPickButton(entry->zone == WorkingZone::Extract || entry->zone == WorkingZone::Merge ||
                                   entry->zone == WorkingZone::Split);
        }
        widget->showRemoveButton(true);
        break;
    }
    default:
        break;
    }
}

void FileListController::askPassword(RowId row)
{
    // The prompt runs without the registry lock; the row is looked at again once it closes.
    const auto entry = m_registry->copy(row);
    int result = PasswordWnd::GaveUp;
    std::wstring output;
    if (entry) {
        PasswordWnd prompt(output, &m_registry->slot(RowRegistry::kInspectionSlot), &m_window);
        prompt.setFilePath(entry->path);
        result = prompt.exec();
    }
    const auto now = m_registry->copy(row);
    if (now) {
        if (result == PasswordWnd::Decrypted) {
            m_registry->withRow(row, [&](RowEntry& e) { e.path = output; });
        } else {
            if (FileListWidget* owner = list(now->zone))
                owner->removeRow(row);
            eraseRow(row, now->zone);
        }
    } else if (result == PasswordWnd::Decrypted) {
        releaseCopy(output);
    }
    m_registry->passwordHandshake().answer();
}

void FileListController::onCheckDone(int zone)
{
    FileListWidget* target = list(zone);
    m_switcher.setState(zone, target && target->rowCount() > 0 ? PaneSwitcher::Ready : PaneSwitcher::Empty);
    m_inspectionIdle = true;
}

void FileListController::onRunFinished(int zone)
{
    FileListWidget* target = list(zone);
    m_switcher.setState(zone, target && target->rowCount() > 0 ? PaneSwitcher::Finished : PaneSwitcher::Empty);
}

void FileListController::onShowProgress(RowId row)
{
    if (FileRowWidget* widget = rowWidget(row))
        widget->showProgress();
}

void FileListController::onProgress(RowId row, int percent)
{
    if (FileRowWidget* widget = rowWidget(row))
        widget->setProgress(percent);
}

void FileListController::onRowText(RowId row, const QString& text)
{
    if (FileRowWidget* widget = rowWidget(row))
        widget->setStatusText(text);
}

void FileListController::onFileResult(const FileResult& result)
{
    FileRowWidget* widget = rowWidget(result.row);
    if (!widget)
        return;
    // A split by bookmarks of a file that has none says so instead of a bare failure.
    const bool noBookmarks = !result.ok && result.error.reason == FailureReason::NoBookmarks;
    widget->showResult(result.ok, result.outputPath, toQt(Glossary::text(TextId::Success)),
                       toQt(Glossary::text(noBookmarks ? FailureReason::NoBookmarks : TextId::ConversionFailed)));
    if (!result.ok && result.error.reason != 0) {
        // Why it failed, for whoever hovers over the status.
        QString reason = toQt(Glossary::text(TextId::Reason)) + QLatin1Char(' ') + toQt(Glossary::text(result.error.reason));
        if (!result.error.detail.empty())
            reason += QStringLiteral("\n") + toQt(result.error.detail);
        if (QWidget* status = widget->findChild<QWidget*>(QStringLiteral("promoptlbl")))
            status->setToolTip(reason);
    }
    const auto entry = m_registry->copy(result.row);
    if (result.ok && entry && entry->zone == WorkingZone::Compress) // "3.2 MB → 0.9 MB (−72%)"
        widget->showResultNote(toQt(Converter::compressionSummaryOf(entry->originalPath, result.outputPath)));
    if (result.ok && entry && entry->zone == WorkingZone::Split && entry->splitMode == Converter::InputElement::kSplitBySize)
        noteOversizePages(*widget, result.oversizePages);
    if (result.ok) {
        // Stored once, however many rows (a merge, a second run) report the same output, so
        // that removing it from the history removes it for good.
        const std::string stored = Utils::wideToAnsi(result.outputPath);
        const std::vector<std::string> history = User::current()->getHistory();
        if (std::find(history.begin(), history.end(), stored) == history.end())
            User::current()->addHistory(stored);
        emit outputStored(result.outputPath);
    }
}

void FileListController::dropFiles(const QStringList& paths)
{
    if (!mayAddFiles())
        return;
    m_inspectionIdle = false;
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir() && zoneAccepts(path))
            files << path;
    }
    addFiles(files);
}

void FileListController::onExternalReport(const QJsonObject& report)
{
    const QString phase = report.value(QStringLiteral("phase")).toString();
    const QString status = report.value(QStringLiteral("status")).toString();
    const int zone = report.value(QStringLiteral("userdata")).toString().toInt();
    if (phase == QLatin1String("start") && status == QLatin1String("fail")) {
        QMessageBox::warning(&m_window, toQt(Glossary::text(TextId::Prompt)), toQt(Glossary::text(TextId::CannotCreateProcess)));
        onRunFinished(zone);
    } else if (phase == QLatin1String("conversion")) {
        onExternalConversion(zone, report.value(QStringLiteral("infile")).toString(), status,
                             report.value(QStringLiteral("outfile")).toString());
    } else {
        onRunFinished(zone);
    }
}

bool FileListController::moveRow(RowId row, int newIndex)
{
    return m_registry->move(row, WorkingZone::Merge, newIndex);
}

void FileListController::endMove() {}

void FileListController::onExternalConversion(int zone, const QString& input, const QString& status,
                                              const QString& output)
{
    FileListWidget* target = list(zone);
    if (!target)
        return;
    auto* widget = dynamic_cast<FileRowWidget*>(target->findByPath(input));
    if (!widget)
        return;
    if (status != QLatin1String("ok") && status != QLatin1String("fail")) {
        widget->setStatusText(toQt(Glossary::text(TextId::Converting)));
        return;
    }
    // A finished external conversion counts as one of our own: the row's result, the history
    // and the service's statistics.
    FileResult result;
    result.ok = status == QLatin1String("ok");
    result.outputPath = fromQt(output);
    result.listName = L"other2pdf";
    result.window = m_seam;
    result.row = widget->rowId();
    reportConversion(m_seam);
    onFileResult(result);
}

void FileListController::startRun()
{
    const int zone = m_switcher.currentZone();
    FileListWidget* target = list(zone);
    if (!target)
        return;
    // Every row's settings are read first: a setting that cannot be run is shown in its row
    // and nothing starts, so the zone stays editable and the user starts again once corrected.
    std::vector<std::pair<RowId, RowEntry>> updates;
    bool refused = false;
    for (const auto& [row, entry] : m_registry->rowsOfZone(zone)) {
        auto* widget = dynamic_cast<FileRowWidget*>(target->row(row));
        const QString path = toQt(entry.path);
        if (!widget || !path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            continue;
        RowEntry updated = entry;
        QString problem;
        if (!widget->readInto(updated, zone, &problem)) {
            widget->setStatusText(problem);
            refused = true;
            continue;
        }
        updates.emplace_back(row, std::move(updated));
    }
    if (refused)
        return;
    m_switcher.setState(zone, PaneSwitcher::Converting);
    for (const auto& [row, updated] : updates)
        m_registry->update(row, updated);
    auto parameter = Converter::createParameter(zone);
    if (parameter)
        parameter->setTargetExtension(m_switcher.outputExtension());
    if (auto* merge = dynamic_cast<Converter::PdfHandleParameter*>(parameter.get()); merge && zone == WorkingZone::Merge)
        merge->setAlternate(m_mergeMode->alternate());
    auto converter = Converter::createConverter(zone);
    const WindowHandle window = m_seam;
    auto callback = ConversionTasks::createCallback(zone, window, m_registry);
    std::shared_ptr<RowRegistry> registry = m_registry;
    const std::wstring listName = fromQt(PaneSwitcher::listName(zone));
    m_tasks.start([=] {
        ConversionTasks::dispatchConversion(converter, parameter, callback, zone, window, listName, registry);
    });
}

void FileListController::continueZone()
{
    const int zone = m_switcher.currentZone();
    if (FileListWidget* target = list(zone))
        target->clear();
    m_switcher.setState(zone, PaneSwitcher::Empty);
    for (const auto& [row, entry] : m_registry->rowsOfZone(zone))
        eraseRow(row, zone);
}

void FileListController::eraseRow(RowId row, int zone)
{
    const auto entry = m_registry->copy(row);
    if (!m_registry->erase(row) || !entry)
        return;
    releaseCopy(entry->path);
}

void FileListController::releaseCopy(const std::wstring& path)
{
    // A decrypted copy belongs to its row alone.
    if (Converter::PrivateTempFolder::instance().contains(path))
        Converter::PrivateTempFolder::instance().removeCopy(path);
}

void FileListController::removeRow(FileRowWidget* widget)
{
    const RowId row = widget->rowId();
    const auto entry = m_registry->copy(row);
    const int zone = entry ? entry->zone : m_switcher.currentZone();
    FileListWidget* target = list(zone);
    const bool inspectingThis = m_switcher.zoneState(zone) == PaneSwitcher::Inspecting &&
                                m_registry->currentRow(RowRegistry::kInspectionSlot) == row;
    if (target)
        target->removeRow(row);
    eraseRow(row, zone);
    if (zone == WorkingZone::Merge && m_switcher.zoneState(zone) == PaneSwitcher::Converting) {
        if (target)
            target->clear();
        for (const auto& [other, e] : m_registry->rowsOfZone(zone))
            eraseRow(other, zone);
    }
    if (inspectingThis)
        m_registry->slot(RowRegistry::kInspectionSlot).terminate();
    const int state = m_switcher.zoneState(zone);
    if ((state == PaneSwitcher::Ready || state == PaneSwitcher::Finished) && target && target->rowCount() == 0)
        m_switcher.setState(zone, PaneSwitcher::Empty);
}

void FileListController::openOutput(FileRowWidget* widget)
{
    QWidget* button = widget->findChild<QWidget*>(QStringLiteral("itemopenfilebtn"));
    const QString output = button ? button->property("openedFilename").toString() : QString();
    if (!output.isEmpty())
        DesktopUtils::shellOpen(fromQt(output));
}

void FileListController::pickPages(FileRowWidget* widget)
{
    // The row's settings are read when a run starts: once it has, they stay as they are.
    const auto entry = m_registry->copy(widget->rowId());
    if (!entry || entry->pageCount < 1 || m_switcher.zoneState(entry->zone) == PaneSwitcher::Converting)
        return;
    PagePickerDialog picker(*widget, entry->pageCount, &m_window);
    picker.exec();
}

void FileListController::retranslate()
{
    if (m_mergeMode)
        m_mergeMode->retranslate();
}

void FileListController::noteOversizePages(FileRowWidget& widget, const std::vector<int>& pages)
{
    // A page larger than the size cannot be cut smaller: the row says which pieces are over.
    QStringList notes;
    for (int page : pages)
        notes << toQt(Glossary::text(Glossary::TextRequest(TextId::PageOverPieceSize, {std::to_wstring(page)})));
    if (!notes.isEmpty())
        widget.showResultNote(notes.join(QStringLiteral("; ")));
}
