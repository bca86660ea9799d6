#pragma once
// The program's one top-level window: header, history side panel, the working zones with their
// file lists, and the folder row. Workers and service actions reach it only through the
// message seam; it changes its widgets on its own thread.

#include "gui/filelist/CDragCallBack.h"
#include "gui/mainwnd/PaneSwitcher.h"
#include "gui/menu/MakerPages.h"
#include "gui/seam/SeamWindow.h"
#include "core/tasks/RowRegistry.h"
#include "core/tasks/TaskThreads.h"

#include <QJsonObject>
#include <QPointer>
#include <QWidget>

#include <map>
#include <cstdint>
#include <memory>

namespace Ui {
class CMainWnd;
}
class Action;
class CGifButton;
class DropMenu;
class FileListController;
class HistoryPanel;
class QTimer;
class ScreenshotHotKey;
class TrayIcon;

class CMainWnd : public QWidget, public SeamWindow, public CDragCallBack {
    Q_OBJECT
public:
    static constexpr const char* kWindowClassName = "PDF_MERGE_SPLIT_Wnd";
    static constexpr int kWidth = 990;
    static constexpr int kHeight = 690;

    explicit CMainWnd(QWidget* parent = nullptr);
    ~CMainWnd() override;

    // The start-up of the window: titles, language, zones, history, service requests.
    void initWindow();
    // Stops the workers and waits for them; the window stays usable for reading.
    void shutdown();

    std::intptr_t handleSeamMessage(int message, std::intptr_t wParam,
                                    std::unique_ptr<MessagePayload> payload) override;

    // The merge list's reorder, on the registry.
    bool moveRow(RowId row, int newIndex) override;
    void endMove() override;

    // What a click on the control of this name does.
    void onClick(const QString& name);
    // Files dropped on the window (folders are skipped).
    void dropFiles(const QStringList& paths);
    void switchLanguage();
    // A report of an external conversion process (one JSON object).
    void handleExternalReport(const QJsonObject& report);
    void activateFromOtherInstance();

    // The account button of the header: the login window when nobody is logged in, else the menu.
    void onAccountButton();
    // The modal login window; on success the main window refreshes the account.
    void openLoginWindow();
    // The modal feedback window.
    void openFeedbackWindow();
    // The user's own update check (request 23); the reply arrives as an offer or a notice.
    void checkForUpdate();
    // The drop-down menu of the header under its button.
    void showDropMenu();
    // The update download window for the offered link, run modally; sha256 is the digest the
    // offer gave for the updater. When the updater has started, the program quits.
    void openDownloadWindow(const QString& url, const QString& sha256 = QString(), std::uint64_t size = 0);

    QString title(int language) const;
    PaneSwitcher& paneSwitcher() { return m_switcher; }
    const std::shared_ptr<RowRegistry>& registry() const { return m_registry; }
    FileListController& fileLists() { return *m_lists; }
    HistoryPanel& history() { return *m_history; }
    bool isTimerActive(int id) const;
    // The notification-area icon (null before start-up), the open drop-down menu (null when
    // none), the screenshot hot key, and the maker's pages the menus offer.
    TrayIcon* trayIcon() const { return m_tray; }
    DropMenu* dropMenu() const;
    ScreenshotHotKey& screenshot() { return *m_screenshot; }
    MakerPages& makerPages() { return m_pages; }

signals:
    // The window wants the program to end (close prompt answered Cancel, system close).
    void quitRequested();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectButtons();
    void rebuildZone();
    void retranslateCodeTexts();
    void onUiNotify(std::intptr_t subCode, std::unique_ptr<MessagePayload> payload);
    void onLoggedOff();
    void onUpgradeReply(std::unique_ptr<MessagePayload> payload);
    void startTimer(int id, int periodMs);
    void stopTimer(int id);
    void onTimer(int id);
    void rotateAdvertisement();
    void showAvatar(const std::wstring& path);
    void sendStartupRequests();
    void setBrand(int language);
    void createTrayIcon();
    void showPrompt(int textId);
    // Targets of onClick's table.
    void onCloseButton();
    void addFiles();
    void startRun();
    void continueRun();
    void changeSaveFolder();
    void openSaveFolder();
    void showCapturePane();
    void onAdsButton();
    void updateCaptionButtons();
    void setTitleText(const QString& text);
    // The account button's text: the user's name once the account is shown, else "Log in".
    void showAccountText();

    std::unique_ptr<Ui::CMainWnd> ui;
    PaneSwitcher m_switcher;
    std::shared_ptr<RowRegistry> m_registry;
    TaskThreads m_tasks;
    std::shared_ptr<Action> m_action;
    std::unique_ptr<FileListController> m_lists;
    std::unique_ptr<HistoryPanel> m_history;
    CGifButton* m_animatedAddButton = nullptr;
    CGifButton* m_adsButton = nullptr;
    std::map<int, QTimer*> m_timers;
    QString m_titles[2];
    QString m_fullTitle;
    int m_currentZone = WorkingZone::Split;
    bool m_adsAvailable = false;
    bool m_accountShown = false;
    TrayIcon* m_tray = nullptr;
    QPointer<DropMenu> m_dropMenu;
    ScreenshotHotKey* m_screenshot = nullptr;
    MakerPages m_pages;
    bool m_quitting = false;
};
