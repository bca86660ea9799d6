#pragma once
// The program's one top-level window: header, history side panel, the working zones with their
// file lists, and the folder row. Workers and service actions reach it only through the
// message seam; it changes its widgets on its own thread. The header's jobs (frame, account,
// advertisement, update offer) are helpers it owns.

#include "core/tasks/RowRegistry.h"
#include "core/tasks/TaskThreads.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/HeaderMenus.h"
#include "gui/mainwnd/PaneSwitcher.h"
#include "gui/seam/SeamWindow.h"

#include <QJsonObject>
#include <QSize>
#include <QWidget>

#include <memory>

namespace Ui {
class CMainWnd;
}
class AccountHeader;
class Action;
class AdRotation;
class CGifButton;
class DropMenu;
class SaveFolderRow;
class FramelessFrame;
class HistoryPanel;
class ScreenshotHotKey;
class TrayIcon;
class UpdateOffer;
class ZoneView;

class CMainWnd : public QWidget, public SeamWindow {
    Q_OBJECT
public:
    static constexpr const char* kWindowClassName = "PDF_MERGE_SPLIT_Wnd";
    static constexpr QSize kSize{990, 690};

    explicit CMainWnd(QWidget* parent = nullptr);
    ~CMainWnd() override;

    // The start-up of the window: titles, language, zones, history, service requests.
    void initWindow();
    // Stops the workers and waits for them; the window stays usable for reading.
    void shutdown();

    std::intptr_t handleSeamMessage(int message, std::intptr_t wParam,
                                    std::unique_ptr<MessagePayload> payload) override;

    // What a click on the control of this name does.
    void onClick(const QString& name);
    // Files dropped on the window (folders are skipped).
    void dropFiles(const QStringList& paths) { m_lists->dropFiles(paths); }
    void switchLanguage();
    // A report of an external conversion process (one JSON object).
    void handleExternalReport(const QJsonObject& report) { m_lists->onExternalReport(report); }
    void activateFromOtherInstance();

    // The modal feedback window.
    void openFeedbackWindow() { m_menus->openFeedbackWindow(); }
    // The user's own update check (request 23); the reply arrives as an offer or a notice.
    void checkForUpdate() { m_menus->checkForUpdate(); }

    QString title(int language) const { return m_titles[language == 0 ? 0 : 1]; }
    PaneSwitcher& paneSwitcher() { return m_switcher; }
    const std::shared_ptr<RowRegistry>& registry() const { return m_registry; }
    FileListController& fileLists() { return *m_lists; }
    HistoryPanel& history() { return *m_history; }
    AccountHeader& account() { return *m_account; }
    AdRotation& ads() { return *m_ads; }
    UpdateOffer& updates() { return *m_updates; }
    // The notification-area icon (null before start-up), the open drop-down menu (null when
    // none), the screenshot hot key, and the maker's pages the menus offer.
    TrayIcon* trayIcon() const { return m_menus->trayIcon(); }
    DropMenu* dropMenu() const { return m_menus->dropMenu(); }
    ScreenshotHotKey& screenshot() { return *m_screenshot; }
    MakerPages& makerPages() { return m_menus->makerPages(); }

signals:
    // The window wants the program to end (close prompt answered Cancel, system close).
    void quitRequested();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectButtons();
    void retranslateCodeTexts();
    void onUiNotify(std::intptr_t subCode, std::unique_ptr<MessagePayload> payload);
    void sendStartupRequests();
    void showPrompt(int textId);
    void requestQuit();
    // Targets of onClick's table.
    void onCloseButton();
    void showCapturePane();

    std::unique_ptr<Ui::CMainWnd> ui;
    PaneSwitcher m_switcher;
    std::shared_ptr<RowRegistry> m_registry;
    TaskThreads m_tasks;
    std::shared_ptr<Action> m_action;
    std::unique_ptr<FileListController> m_lists;
    std::unique_ptr<HistoryPanel> m_history;
    FramelessFrame* m_frame = nullptr;
    AccountHeader* m_account = nullptr;
    UpdateOffer* m_updates = nullptr;
    AdRotation* m_ads = nullptr;
    CGifButton* m_animatedAddButton = nullptr;
    QString m_titles[2];
    HeaderMenus* m_menus = nullptr;
    SaveFolderRow* m_saveFolder = nullptr;
    ZoneView* m_zones = nullptr;
    ScreenshotHotKey* m_screenshot = nullptr;
    bool m_quitting = false;
};
