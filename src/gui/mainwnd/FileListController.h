#pragma once
// The file lists of the working zones: adding files (dialog or drop), following the inspection
// and the run of each row, the password step, removing rows, and starting or emptying a zone.

#include "gui/filelist/FileRowWidget.h"
#include "core/tasks/RowId.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

class CMainWnd;
class CMyListUI;
class FileListWidget;
class PaneSwitcher;
class QStackedWidget;
class RowRegistry;
class TaskThreads;
struct FileResult;

class FileListController : public QObject {
    Q_OBJECT
public:
    FileListController(CMainWnd& window, PaneSwitcher& switcher, std::shared_ptr<RowRegistry> registry,
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

    void onCheckStatus(int step, RowId row);
    void onCheckDone(int zone);
    void onRunFinished(int zone);
    void onShowProgress(RowId row);
    void onProgress(RowId row, int percent);
    void onRowText(RowId row, const QString& text);
    void onFileResult(const FileResult& result);
    void onExternalConversion(int zone, const QString& input, const QString& status, const QString& output);

    void startRun();
    void continueZone();
    void removeRow(FileRowWidget* row);
    void openOutput(FileRowWidget* row);
    void retranslate();

private:
    void askPassword(RowId row);
    void eraseRow(RowId row, int zone);
    void releaseCopy(const std::wstring& path);
    void prompt(const std::wstring& text);
    void wireRow(FileRowWidget* row);

    CMainWnd& m_window;
    PaneSwitcher& m_switcher;
    std::shared_ptr<RowRegistry> m_registry;
    TaskThreads& m_tasks;
    std::map<int, FileListWidget*> m_lists;
    bool m_inspectionIdle = true;
};
