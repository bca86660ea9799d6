#include "gui/mainwnd/CMainWnd.h"

#include "ui_Main.h"

#include "core/actions/Action.h"
#include "core/actions/ActionPayloads.h"
#include "core/network/NotifyPayload.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/capture/ScreenshotHotKey.h"
#include "gui/common/DesktopUtils.h"
#include "gui/common/LanguageManager.h"
#include "gui/login/LoginWnd.h"
#include "gui/common/QtText.h"
#include "gui/common/Resources.h"
#include "core/common/Utils.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/feedback/SuggestionWnd.h"
#include "gui/filelist/CGifButton.h"
#include "gui/filelist/CMyListUI.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/HistoryPanel.h"
#include "gui/mainwnd/MainStyle.h"
#include "gui/menu/DropMenu.h"
#include "gui/menu/MenuCommandPayload.h"
#include "gui/menu/MenuCommands.h"
#include "core/message/WindowMessages.h"
#include "core/platform/DebugLog.h"
#include "core/tasks/TaskPayloads.h"
#include "gui/tray/TrayIcon.h"
#include "gui/update/DownloadWnd.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

using namespace WindowMessages;

namespace {

constexpr int kAdsRequestTimer = 2;
constexpr int kAdsRotateTimer = 4;
constexpr int kAvatarSize = 22;
constexpr int kAccountNameWidth = 150;

User& user()
{
    return *User::current();
}

int glossaryLanguage()
{
    return Glossary::currentLanguage() == Glossary::ENGLSH ? Glossary::ENGLSH : Glossary::CHINESE;
}

} // namespace

CMainWnd::CMainWnd(QWidget* parent)
    : QWidget(parent), SeamWindow(this), ui(std::make_unique<Ui::CMainWnd>()),
      m_registry(std::make_shared<RowRegistry>())
{
    initKorvexResources();
    setObjectName(QString::fromLatin1(kWindowClassName));
    ui->setupUi(this);
    ui->minbtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/min.png")));
    ui->maxbtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/max.png")));
    ui->restorebtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/restore.png")));
    ui->closebtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/close.png")));
    ui->dropbtn->setText(QStringLiteral("\u2630"));
    ui->loginbtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/user.png")));
    ui->loginbtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->addmorefilebtn->setObjectName(QStringLiteral("addfilebtn"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(kWidth, kHeight);
    setMinimumSize(760, 520);
    setAcceptDrops(true);
    setStyleSheet(MainStyle::sheet());
    ui->header->installEventFilter(this);
    ui->titlelbl->installEventFilter(this);
    ui->titlelbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->headerLayout->setStretchFactor(ui->titlelbl, 1);
    // All spare room of the header goes to the title.
    ui->headerSpacerLeft->changeSize(12, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    ui->headerSpacer->changeSize(12, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    m_action = std::make_shared<Action>(seamHandle());
    m_lists = std::make_unique<FileListController>(*this, m_switcher, m_registry, m_tasks, ui->workingzone);
    m_history = std::make_unique<HistoryPanel>(*this, ui->historyHolder);
    m_screenshot = new ScreenshotHotKey(this, ui->checkhotkeybtn, ui->hotkeyedit);
    m_pages = MakerPages::fromInstallSettings();
}

CMainWnd::~CMainWnd()
{
    shutdown();
}

void CMainWnd::shutdown()
{
    m_registry->requestStop();
    m_tasks.joinAll();
    for (auto& [id, timer] : m_timers)
        timer->stop();
}

QString CMainWnd::title(int language) const
{
    return m_titles[language == Glossary::ENGLSH ? Glossary::ENGLSH : Glossary::CHINESE];
}

void CMainWnd::initWindow()
{
    setWindowIcon(QIcon(QStringLiteral(":/KorvexRes/korvex.png")));
    user().getFileVersion();
    const QString version = QString::fromStdString(user().getProgramVersion());
    m_titles[Glossary::CHINESE] = QStringLiteral("Tavrin分割合并(Lumo专版) v") + version + QStringLiteral(" - Orlend出品");
    m_titles[Glossary::ENGLSH] = QStringLiteral("Korvex PDF Spllitting And Merging(LumoVersion) v") + version +
                                 QStringLiteral(" Produced Orlend");

    if (auto* merge = m_lists->mergeList())
        merge->setDragCallBack(this);

    m_animatedAddButton = new CGifButton(QStringLiteral("addfilebtn"), QStringLiteral(":/KorvexRes/centerBtn.png"));
    m_animatedAddButton->setFixedSize(424, 286);
    ui->animGifContainerLayout->insertWidget(1, m_animatedAddButton, 0, Qt::AlignHCenter);
    m_adsButton = new CGifButton(QStringLiteral("adsbtn"), QStringLiteral(":/KorvexRes/capturePrompt_1.png"));
    m_adsButton->setFixedHeight(120);
    ui->subpaneLayout->insertWidget(0, m_adsButton);
    connect(m_animatedAddButton, &CGifButton::clicked, this, [this] { onClick(QStringLiteral("addfilebtn")); });
    connect(m_adsButton, &CGifButton::clicked, this, [this] { onClick(QStringLiteral("adsbtn")); });

    const bool chinese = user().getLanguage() == Glossary::CHINESE;
    LanguageManager::instance().apply(chinese ? Glossary::CHINESE : Glossary::ENGLSH);
    if (chinese)
        startTimer(kAdsRequestTimer, 100);
    setBrand(chinese ? Glossary::CHINESE : Glossary::ENGLSH);
    setTitleText(title(chinese ? Glossary::CHINESE : Glossary::ENGLSH));

    connectButtons();
    m_switcher.setWindow(seamHandle());
    m_switcher.switchTo(1, 4);
    ui->pdfprocessinglst->setCurrentRow(4);
    ui->outdiredit->setText(QString::fromStdString(user().getSavePath()));

    const std::string avatar = user().getNickPhotoPath();
    if (user().isLoggedIn() && !avatar.empty() && Utils::pathExists(Utils::ansiToWide(avatar)))
        showAvatar(Utils::ansiToWide(avatar));

    m_history->fillFromConfiguration();
    createTrayIcon();
    sendStartupRequests();

    for (QWidget* hidden : {static_cast<QWidget*>(ui->imageconvertopt), static_cast<QWidget*>(ui->wpsconvertopt),
                            static_cast<QWidget*>(ui->onlineconvertopt), static_cast<QWidget*>(ui->librarybtn), static_cast<QWidget*>(ui->subchoicezone)})
        hidden->hide();
    retranslateCodeTexts();
}

void CMainWnd::setBrand(int language)
{
    const bool chinese = language == Glossary::CHINESE;
    const QPixmap brand(chinese ? QStringLiteral(":/KorvexRes/brand.png") : QStringLiteral(":/KorvexRes/brand_e.png"));
    // Our logo is a mark without lettering, so the title gets the room a lettered logo took.
    ui->brandctrl->setPixmap(brand.copy(0, 0, std::min(brand.width(), 48), brand.height()));
    ui->brandctrl->setFixedWidth(48);
}

void CMainWnd::createTrayIcon()
{
    m_tray = new TrayIcon(*this, m_pages);
    m_tray->show();
}

void CMainWnd::openDownloadWindow(const QString& url, const QString& sha256, std::uint64_t size)
{
    DownloadWnd window(this);
    window.startDownload(url, sha256, size);
    if (window.showModal() == DownloadWnd::UpdaterStarted) {
        // The updater takes over: the program ends at once, but in order.
        m_quitting = true;
        emit quitRequested();
    }
}

void CMainWnd::onAccountButton()
{
    if (user().isLoggedIn())
        showDropMenu();
    else
        openLoginWindow();
}

void CMainWnd::openLoginWindow()
{
    LoginWnd login(seamHandle(), this);
    login.initWindow();
    login.showModal();
}

void CMainWnd::openFeedbackWindow()
{
    SuggestionWnd window(this);
    window.showModal();
}

void CMainWnd::checkForUpdate()
{
    user().SendRequest(RequestId::Upgrade, m_action);
}

DropMenu* CMainWnd::dropMenu() const
{
    return m_dropMenu.data();
}

void CMainWnd::showDropMenu()
{
    if (m_dropMenu)
        m_dropMenu->close();
    auto* menu = new DropMenu(seamHandle(), m_pages, user().isLoggedIn(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    m_dropMenu = menu;
    // The menu holds the mouse while it is open, so the header button that opened it never
    // sees the pointer leave: its hover look is dropped when the menu closes, unless the
    // pointer is really back over it.
    connect(menu, &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] {
            for (QToolButton* button : {ui->dropbtn, ui->loginbtn, ui->nickphotoopt}) {
                button->setDown(false);
                if (!button->rect().contains(button->mapFromGlobal(QCursor::pos()))) {
                    button->setAttribute(Qt::WA_UnderMouse, false);
                    button->update();
                }
            }
        });
    });
    menu->popup(QCursor::pos());
}

void CMainWnd::sendStartupRequests()
{
    for (int request : {RequestId::GetConfig, RequestId::UpgradeSilent, RequestId::OpenStatistics,
                        RequestId::GotoClause})
        user().SendRequest(request, m_action);
    if (!user().getUserId().empty())
        user().SendRequest(RequestId::GetUserInfo, m_action);
}

void CMainWnd::connectButtons()
{
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        const QString name = button->objectName();
        if (name == QLatin1String("pdfconvertopt") || name == QLatin1String("pdfprocessingopt")) {
            connect(button, &QAbstractButton::toggled, this, [this, name](bool checked) {
                if (!checked)
                    return;
                ui->subchoicezone->setCurrentIndex(1);
                m_switcher.setSwitchedByUser(true);
                m_switcher.switchTo(1, name == QLatin1String("pdfconvertopt") ? 4 : 3);
            });
            continue;
        }
        bool inRow = false;
        for (QObject* p = button->parent(); p && !inRow; p = p->parent())
            inRow = p->inherits("ListRowWidget");
        if (inRow)
            continue; // rows are wired by the file lists
        connect(button, &QAbstractButton::clicked, this, [this, button] { onClick(button->objectName()); });
    }
    connect(ui->pdfprocessinglst, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && ui->pdfprocessinglst->property("function").isValid())
            m_switcher.selectItem(row);
    });
}

void CMainWnd::onClick(const QString& name)
{
    static const std::map<QString, void (CMainWnd::*)()> kClicks = {
        {QStringLiteral("closebtn"), &CMainWnd::onCloseButton},
        {QStringLiteral("minbtn"), &CMainWnd::showMinimized},
        {QStringLiteral("maxbtn"), &CMainWnd::showMaximized},
        {QStringLiteral("restorebtn"), &CMainWnd::showNormal},
        {QStringLiteral("switchlanbtn"), &CMainWnd::switchLanguage},
        {QStringLiteral("addfilebtn"), &CMainWnd::addFiles},
        {QStringLiteral("convertbtn"), &CMainWnd::startRun},
        {QStringLiteral("continueConvBtn"), &CMainWnd::continueRun},
        {QStringLiteral("changedirbtn"), &CMainWnd::changeSaveFolder},
        {QStringLiteral("browsedirbtn"), &CMainWnd::openSaveFolder},
        {QStringLiteral("capturehistoryfilebtn"), &CMainWnd::openSaveFolder},
        {QStringLiteral("loginbtn"), &CMainWnd::onAccountButton},
        {QStringLiteral("nickphotoopt"), &CMainWnd::onAccountButton},
        {QStringLiteral("dropbtn"), &CMainWnd::showDropMenu},
        {QStringLiteral("capturescropt"), &CMainWnd::showCapturePane},
        {QStringLiteral("adsbtn"), &CMainWnd::onAdsButton},
    };
    const auto click = kClicks.find(name);
    if (click != kClicks.end())
        (this->*click->second)();
}

void CMainWnd::onCloseButton()
{
    const int result = CMessageWnd::showMessage(this, toQt(Glossary::text(TextId::Prompt)),
                                                toQt(Glossary::text(TextId::RunInBackground)), CMessageWnd::ConfirmCancel);
    if (result == CMessageWnd::Confirm) {
        // Without a tray nothing could bring a hidden window back.
        if (TrayIcon::available())
            hide();
        else
            showMinimized();
    } else if (result == CMessageWnd::Cancel) {
        m_quitting = true;
        emit quitRequested();
    }
}

void CMainWnd::addFiles()
{
    m_lists->addFromDialog();
}

void CMainWnd::startRun()
{
    m_lists->startRun();
}

void CMainWnd::continueRun()
{
    m_lists->continueZone();
}

void CMainWnd::changeSaveFolder()
{
    std::wstring folder = fromQt(ui->outdiredit->text());
    if (DesktopUtils::selectFolder(this, folder)) {
        ui->outdiredit->setText(toQt(folder));
        user().setSavePath(Utils::wideToAnsi(folder));
    }
}

void CMainWnd::openSaveFolder()
{
    DesktopUtils::shellOpen(Utils::ansiToWide(user().getSavePath()));
}

void CMainWnd::showCapturePane()
{
    ui->capturescropt->setChecked(true);
    ui->switchpane->setCurrentWidget(ui->captureLayout);
}

void CMainWnd::onAdsButton()
{
    if (!m_adsAvailable)
        return;
    const QString key = m_adsButton ? m_adsButton->property("userdata").toString() : QString();
    const std::string url = user().adClickUrl(key.toStdString());
    if (!url.empty())
        DesktopUtils::shellOpen(Utils::utf8ToWide(url));
}

void CMainWnd::dropFiles(const QStringList& paths)
{
    if (!m_lists->mayAddFiles())
        return;
    m_lists->setInspectionIdle(false);
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir() && m_lists->zoneAccepts(path))
            files << path;
    }
    m_lists->addFiles(files);
}

void CMainWnd::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainWnd::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    event->acceptProposedAction();
    // Handled after the drop returns, so a message box never runs inside the drag.
    QTimer::singleShot(0, this, [this, paths] { dropFiles(paths); });
}

void CMainWnd::switchLanguage()
{
    const bool toEnglish = user().getLanguage() == Glossary::CHINESE;
    user().setLanguage(toEnglish ? Glossary::ENGLSH : Glossary::CHINESE);
    LanguageManager::instance().apply(toEnglish ? Glossary::ENGLSH : Glossary::CHINESE);
    setBrand(toEnglish ? Glossary::ENGLSH : Glossary::CHINESE);
    if (m_adsButton)
        m_adsButton->setImage(QStringLiteral(":/KorvexRes/capturePrompt_1.png"));
    retranslateCodeTexts();
    rebuildZone();
}

void CMainWnd::retranslateCodeTexts()
{
    const int language = glossaryLanguage();
    setTitleText(title(language));
    setWindowTitle(toQt(Glossary::text(TextId::AppTitle)));
    if (m_tray)
        m_tray->retranslate();
    ui->switchlanbtn->setText(language == Glossary::CHINESE ? QStringLiteral("English") : QStringLiteral("中文"));
    showAccountText();
    m_lists->retranslate();
}

void CMainWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateCodeTexts();
        rebuildZone();
    } else if (event->type() == QEvent::WindowStateChange) {
        updateCaptionButtons();
    }
    QWidget::changeEvent(event);
}

void CMainWnd::setTitleText(const QString& text)
{
    // The title is long; the header shortens it to the room it has and keeps it whole as a tip.
    m_fullTitle = text;
    ui->titlelbl->setToolTip(text);
    const int room = std::max(40, ui->titlelbl->contentsRect().width());
    ui->titlelbl->setText(ui->titlelbl->fontMetrics().elidedText(text, Qt::ElideRight, room));
}

void CMainWnd::updateCaptionButtons()
{
    const bool maximized = isMaximized();
    ui->maxbtn->setVisible(!maximized);
    ui->restorebtn->setVisible(maximized);
}

void CMainWnd::closeEvent(QCloseEvent* event)
{
    // The system's close (window manager, Alt+F4) ends the program at once.
    event->accept();
    if (!m_quitting) {
        m_quitting = true;
        emit quitRequested();
    }
}

bool CMainWnd::eventFilter(QObject* watched, QEvent* event)
{
    // The title's room changes with the window and with the header's other texts (language,
    // account name): shortened again for whatever room it has now.
    if (watched == ui->titlelbl && event->type() == QEvent::Resize && !m_fullTitle.isEmpty())
        setTitleText(m_fullTitle);
    // The header moves the frameless window.
    if (watched == ui->header && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && QWidget::windowHandle()) {
        QWidget::windowHandle()->startSystemMove();
        return true;
    }
    if (watched == ui->header && event->type() == QEvent::MouseButtonDblClick) {
        isMaximized() ? showNormal() : showMaximized();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool CMainWnd::event(QEvent* event)
{
    if (dispatchSeamEvent(event))
        return true;
    return QWidget::event(event);
}

void CMainWnd::rebuildZone()
{
    const int zone = m_switcher.currentZone();
    m_currentZone = zone;
    const int state = m_switcher.zoneState(zone);
    if (m_switcher.switchedByUser())
        ui->switchpane->setCurrentIndex(0);
    ui->subchoicezone->setCurrentIndex(m_switcher.category());
    {
        const QSignalBlocker block1(ui->pdfconvertopt);
        const QSignalBlocker block2(ui->pdfprocessingopt);
        ui->pdfconvertopt->setChecked(zone == WorkingZone::Split);
        ui->pdfprocessingopt->setChecked(zone == WorkingZone::Merge);
    }
    if (state != PaneSwitcher::Empty) {
        ui->workingzone->setCurrentIndex(zone);
    } else {
        ui->workingzone->setCurrentIndex(ui->workingzone->count() - 1);
        ui->promptionLbl->setText(toQt(Glossary::text(TextId::DropFilesHere, PaneSwitcher::isPdfZone(zone) ? L"PDF" : L"")));
    }
    const bool english = Glossary::currentLanguage() == Glossary::ENGLSH;
    const QString continueText = toQt(Glossary::text(TextId::ContinueButton, english ? L"Continue" : PaneSwitcher::startWord(zone)));
    switch (state) {
    case PaneSwitcher::Converting:
        ui->workingzoneattach->hide();
        ui->continueConvHor->show();
        ui->continueConvBtn->show();
        ui->continueConvBtn->setEnabled(false);
        ui->continueConvBtn->setText(continueText);
        break;
    case PaneSwitcher::Ready:
        ui->workingzoneattach->show();
        ui->continueConvHor->hide();
        ui->convertbtn->setText(toQt(Glossary::text(TextId::StartButton, PaneSwitcher::startWord(zone))));
        break;
    case PaneSwitcher::Finished:
        ui->workingzoneattach->hide();
        ui->continueConvHor->show();
        ui->continueConvBtn->setEnabled(true);
        ui->continueConvBtn->setText(continueText);
        break;
    default:
        ui->workingzoneattach->hide();
        ui->continueConvHor->hide();
        break;
    }
    if (PaneSwitcher::isPdfZone(zone)) {
        ui->settingforp2wctrls->hide();
        ui->settingforocr->hide();
    }
}

std::intptr_t CMainWnd::handleSeamMessage(int message, std::intptr_t wParam,
                                          std::unique_ptr<MessagePayload> payload)
{
    switch (message) {
    case WM_UI_NOTIFY:
        onUiNotify(wParam, std::move(payload));
        break;
    case WM_USER_REFRESH:
        user().SendRequest(RequestId::GetUserInfo, m_action);
        break;
    case WM_LOGGED_OFF:
        onLoggedOff();
        break;
    case WM_FILE_CHECK_STATUS:
        if (auto* row = dynamic_cast<RowPayload*>(payload.get()))
            m_lists->onCheckStatus(static_cast<int>(wParam), row->row);
        else
            m_lists->onCheckStatus(static_cast<int>(wParam), 0);
        break;
    case WM_TRAY_NOTIFY:
        if (auto* mouse = dynamic_cast<NotifyNumber*>(payload.get()); mouse && m_tray)
            m_tray->notify(static_cast<int>(mouse->value));
        break;
    case WM_MENU_COMMAND:
        if (auto* command = dynamic_cast<MenuCommandPayload*>(payload.get()))
            MenuCommands::run(*this, m_pages, command->name);
        break;
    case WM_RUN_FINISHED:
        m_lists->onRunFinished(static_cast<int>(wParam));
        break;
    case WM_PANE_STATE_CHANGED:
        rebuildZone();
        break;
    case WM_FILE_RESULT:
        if (auto* result = dynamic_cast<FileResult*>(payload.get()))
            m_lists->onFileResult(*result);
        break;
    case WM_ACTIVATE_INSTANCE:
        activateFromOtherInstance();
        break;
    case WM_FILE_CHECK_DONE:
        m_lists->onCheckDone(static_cast<int>(wParam));
        break;
    case WM_START_TIMER:
        if (auto* timer = dynamic_cast<TimerPayload*>(payload.get()))
            startTimer(static_cast<int>(wParam), timer->periodMs);
        break;
    case WM_STOP_TIMER:
        stopTimer(static_cast<int>(wParam));
        break;
    default:
        break;
    }
    return 0;
}

void CMainWnd::activateFromOtherInstance()
{
    Platform::debugLog("brought to the front by a second start\n");
    showNormal();
    raise();
    activateWindow();
}

void CMainWnd::onUiNotify(std::intptr_t subCode, std::unique_ptr<MessagePayload> payload)
{
    const auto number = [&]() -> std::intptr_t {
        auto* n = dynamic_cast<NotifyNumber*>(payload.get());
        return n ? n->value : 0;
    };
    switch (subCode) {
    case Notify::LoggedOffElsewhere: {
        stopTimer(kLoginStatusTimer);
        MessageSink::current().post(seamHandle(), WM_LOGGED_OFF, 0, nullptr);
        if (number() == 0)
            showPrompt(TextId::AccountUnavailable);
        break;
    }
    case Notify::AccountProblem: {
        const std::intptr_t textId = number();
        if ((textId == TextId::UserInfoFailed || textId == TextId::UserConfigFailed) && !user().isLoggedIn())
            break;
        showPrompt(static_cast<int>(textId));
        break;
    }
    case Notify::RowProgressShown:
        if (auto* row = dynamic_cast<RowPayload*>(payload.get()))
            m_lists->onShowProgress(row->row);
        break;
    case Notify::RowProgress:
        if (auto* progress = dynamic_cast<RowProgress*>(payload.get()))
            m_lists->onProgress(progress->row, progress->percent);
        break;
    case kRowTextNotify:
        if (auto* text = dynamic_cast<RowText*>(payload.get()))
            m_lists->onRowText(text->row, toQt(text->text));
        break;
    case Notify::AvatarReady:
        if (auto* path = dynamic_cast<WidePathPayload*>(payload.get()))
            showAvatar(path->path);
        break;
    case Notify::HistoryEntry:
        if (auto* path = dynamic_cast<WidePathPayload*>(payload.get()))
            m_history->add(path->path);
        break;
    case Notify::UpgradeReply:
        onUpgradeReply(std::move(payload));
        break;
    case Notify::AdsReply:
        if (auto* ads = dynamic_cast<JsonPayload*>(payload.get())) {
            m_adsAvailable = true;
            for (const Json::Value& ad : ads->value) {
                if (ad.isObject())
                    user().advertisements().add({ad["img_key"].asString(), ad["img_url"].asString(), L""});
            }
            user().downloadAdvertisements(m_action);
        }
        break;
    case Notify::AdImageReady:
        if (m_adsButton && !m_adsButton->property("adShown").toBool()) {
            if (const auto ad = user().advertisements().next(""); ad && !ad->localPath.empty()) {
                m_adsButton->setImage(toQt(ad->localPath));
                m_adsButton->setProperty("userdata", QString::fromStdString(ad->imgKey));
                m_adsButton->setProperty("adShown", true);
                startTimer(kAdsRotateTimer, 5000);
            }
        }
        break;
    default:
        break; // 10, 11, 12: the main window does not show transfer failures
    }
}

void CMainWnd::showPrompt(int textId)
{
    CMessageWnd::showMessage(this, toQt(Glossary::text(TextId::Prompt)), toQt(Glossary::text(textId)), CMessageWnd::ConfirmOnly);
}

void CMainWnd::onLoggedOff()
{
    stopTimer(kLoginStatusTimer);
    ui->loginbtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/user.png")));
    m_accountShown = false;
    showAccountText();
    user().clearConfiguration();
}

void CMainWnd::onUpgradeReply(std::unique_ptr<MessagePayload> payload)
{
    auto* info = dynamic_cast<UpgradeInfo*>(payload.get());
    if (!info || !info->reply.isObject())
        return;
    if (Action::replySucceeded(info->reply)) {
        const auto text = [&](const char* key) {
            const Json::Value& value = info->reply[key];
            return value.isString() ? QString::fromStdString(value.asString()) : QString();
        };
        const int result = CMessageWnd::showMessageWithButtons(this, toQt(Glossary::text(TextId::UpdateTitle)), text("msg"),
                                                               toQt(Glossary::text(TextId::Update)), toQt(Glossary::text(TextId::Cancel)), CMessageWnd::ConfirmCancel);
        // The size, when the offer names one, is all the download may bring.
        const Json::Value& size = info->reply["size"];
        if (result == CMessageWnd::Confirm)
            openDownloadWindow(text("url"), text("sha256"), size.isUInt64() ? size.asUInt64() : 0);
    } else if (!info->silent) {
        showPrompt(TextId::NewestVersion);
    }
}

void CMainWnd::showAvatar(const std::wstring& path)
{
    const QPixmap avatar(toQt(path));
    if (!avatar.isNull())
        ui->loginbtn->setIcon(QIcon(avatar.scaled(kAvatarSize, kAvatarSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_accountShown = true;
    showAccountText();
}

void CMainWnd::showAccountText()
{
    // The layout's own text is the invitation to log in; a language switch resets it, so the
    // account's name is put back whenever it is the one to show.
    if (m_accountShown && user().isLoggedIn()) {
        // A long name (an e-mail address) is shortened, so that the title keeps its room.
        const QString name = toQt(Utils::ansiToWide(user().getUserName()));
        ui->loginbtn->setText(ui->loginbtn->fontMetrics().elidedText(name, Qt::ElideMiddle, kAccountNameWidth));
        ui->loginbtn->setToolTip(name);
    } else {
        ui->loginbtn->setText(tr("Log in"));
        ui->loginbtn->setToolTip(QString());
    }
}

void CMainWnd::startTimer(int id, int periodMs)
{
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { onTimer(id); });
    }
    timer->start(periodMs);
}

void CMainWnd::stopTimer(int id)
{
    if (const auto it = m_timers.find(id); it != m_timers.end())
        it->second->stop();
}

bool CMainWnd::isTimerActive(int id) const
{
    const auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

void CMainWnd::onTimer(int id)
{
    if (id == kLoginStatusTimer) {
        user().SendRequest(RequestId::GetLoginStatus, m_action);
    } else if (id == kAdsRequestTimer) {
        user().SendRequest(RequestId::GetAds, m_action);
        stopTimer(kAdsRequestTimer);
    } else if (id == kAdsRotateTimer) {
        rotateAdvertisement();
    }
}

void CMainWnd::rotateAdvertisement()
{
    if (!m_adsButton)
        return;
    const std::string current = m_adsButton->property("userdata").toString().toStdString();
    const auto next = user().advertisements().next(current);
    if (next && next->imgKey != current && !next->localPath.empty()) {
        m_adsButton->setImage(toQt(next->localPath));
        m_adsButton->setProperty("userdata", QString::fromStdString(next->imgKey));
    }
}

bool CMainWnd::moveRow(RowId row, int newIndex)
{
    return m_registry->move(row, 12, newIndex);
}

void CMainWnd::endMove() {}

void CMainWnd::handleExternalReport(const QJsonObject& report)
{
    const QString phase = report.value(QStringLiteral("phase")).toString();
    const QString status = report.value(QStringLiteral("status")).toString();
    const int zone = report.value(QStringLiteral("userdata")).toString().toInt();
    if (phase == QLatin1String("start") && status == QLatin1String("fail")) {
        QMessageBox::warning(this, toQt(Glossary::text(TextId::Prompt)), toQt(Glossary::text(TextId::CannotCreateProcess)));
        m_lists->onRunFinished(zone);
    } else if (phase == QLatin1String("conversion")) {
        m_lists->onExternalConversion(zone, report.value(QStringLiteral("infile")).toString(), status,
                                      report.value(QStringLiteral("outfile")).toString());
    } else {
        m_lists->onRunFinished(zone);
    }
}
