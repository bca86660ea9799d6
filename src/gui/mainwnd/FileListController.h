#pragma once
// The file lists of the working zones: adding files (dialog or drop), following the inspection
// and the run of each row, the password step, removing rows, and starting or emptying a zone.

#include "core/message/MessageSink.h"
#include "core/tasks/RowId.h"
#include "gui/filelist/CDragCallBack.h"
#include "gui/filelist/FileRowWidget.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class CMyListUI;
class MergeModeBar;
class FileListWidget;
class PaneSwitcher;
class QJsonObject;
class QStackedWidget;
class RowRegistry;
class TaskThreads;
struct FileResult;
struct RowEntry;

class FileListController : public QObject, public CDragCallBack {
    Q_OBJECT
public:
    // window: the parent of the dialogs and prompts; seam: where the workers report.
    FileListController(QWidget& window, WindowHandle seam, PaneSwitcher& switcher, std::shared_ptr<RowRegistry> registry,
                       TaskThreads& tasks, QStackedWidget* workingzone);
    ~FileListController() override;

    FileListWidget* list(int zone) const;
    CMyListUI* mergeList() const;
    FileRowWidget* rowWidget(RowId row) const;

    // Refuses (with a message) while an inspection or the current zone's run is going on.
    bool mayAddFiles();
    bool zoneAccepts(const QString& path) const;
    bool inspectionIdle() const { return m_inspectionIdle; }
    void setInspectionIdle(bool idle) { m_inspectionIdle = idle; }

    void addFromDialog();
    void addFiles(const QStringList& paths);
    // Files dropped on the window (folders and files the zone does not take are skipped).
    void dropFiles(const QStringList& paths);

    void onCheckStatus(int step, RowId row);
    void onCheckDone(int zone);
    void onRunFinished(int zone);
    void onShowProgress(RowId row);
    void onProgress(RowId row, int percent);
    void onRowText(RowId row, const QString& text);
    void onFileResult(const FileResult& result);
    void onExternalConversion(int zone, const QString& input, const QString& status, const QString& output);
    // A report of an external conversion process (one JSON object).
    void onExternalReport(const QJsonObject& report);

    // The merge list's reorder, on the registry.
    bool moveRow(RowId row, int newIndex) override;
    void endMove() override;

    void startRun();
    void continueZone();
    void removeRow(FileRowWidget* row);
    void openOutput(FileRowWidget* row);
    // The page picker over the row; OK writes the pages it chose into the row.
    void pickPages(FileRowWidget* row);
    void retranslate();

signals:
    // A finished output, stored in the history; the history panel shows it.
    void outputStored(const std::wstring& path);

private:
    void askPassword(RowId row);
    void eraseRow(RowId row, int zone);
    void releaseCopy(const std::wstring& path);
    void prompt(const std::wstring& text);
    void wireRow(FileRowWidget* row);
    void noteOversizePages(FileRowWidget& widget, const std::vector<int>& pages);

    QWidget& m_window;
    WindowHandle m_seam;
    PaneSwitcher& m_switcher;
    std::shared_ptr<RowRegistry> m_registry;
    TaskThreads& m_tasks;
    std::map<int, FileListWidget*> m_lists;
    bool m_inspectionIdle = true;
    MergeModeBar* m_mergeMode = nullptr;
};
