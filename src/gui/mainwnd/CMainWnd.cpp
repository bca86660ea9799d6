#include "gui/mainwnd/CMainWnd.h"

#include "ui_CMainWnd.h"

#include "core/actions/Action.h"
#include "core/actions/ActionPayloads.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/platform/DebugLog.h"
#include "core/tasks/TaskPayloads.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/capture/ScreenshotHotKey.h"
#include "gui/common/LanguageManager.h"
#include "gui/common/QtText.h"
#include "gui/common/Resources.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/filelist/CGifButton.h"
#include "gui/mainwnd/AccountHeader.h"
#include "gui/mainwnd/AdRotation.h"
#include "gui/mainwnd/ClosePrompt.h"
#include "gui/mainwnd/FileDrops.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/FramelessFrame.h"
#include "gui/mainwnd/HeaderMenus.h"
#include "gui/mainwnd/HistoryPanel.h"
#include "gui/mainwnd/MainStyle.h"
#include "gui/mainwnd/SaveFolderRow.h"
#include "gui/mainwnd/UpdateOffer.h"
#include "gui/mainwnd/ZoneView.h"
#include "gui/menu/MenuCommandPayload.h"

#include <QAbstractButton>
#include <QCloseEvent>

#include <functional>
#include <map>

using namespace WindowMessages;

namespace {

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
    ui->dropbtn->setText(QStringLiteral("\u2630"));
    ui->loginbtn->setIcon(QIcon(QStringLiteral(":/KorvexRes/user.png")));
    ui->loginbtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->addmorefilebtn->setObjectName(QStringLiteral("addfilebtn"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(kSize);
    setMinimumSize(760, 520);
    setStyleSheet(MainStyle::sheet());
    // All spare room of the header goes to the title.
    ui->headerLayout->setStretchFactor(ui->titlelbl, 1);
    ui->headerSpacerLeft->changeSize(12, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    ui->headerSpacer->changeSize(12, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    m_frame = new FramelessFrame(*this, ui->header, ui->titlelbl, {ui->minbtn, ui->maxbtn, ui->restorebtn, ui->closebtn});
    m_action = std::make_shared<Action>(seamHandle());
    m_lists = std::make_unique<FileListController>(*this, seamHandle(), m_switcher, m_registry, m_tasks, ui->workingzone);
    m_history = std::make_unique<HistoryPanel>(*this, ui->historyHolder);
    connect(m_lists.get(), &FileListController::outputStored, m_history.get(), &HistoryPanel::add);
    m_account = new AccountHeader(*this, ui->loginbtn, seamHandle(), m_action);
    m_updates = new UpdateOffer(*this, m_action);
    // The updater takes over: the program ends at once, but in order.
    connect(m_updates, &UpdateOffer::updaterStarted, this, &CMainWnd::requestQuit);
    m_menus = new HeaderMenus(*this, seamHandle(), *m_account, *m_updates, {ui->dropbtn, ui->loginbtn, ui->nickphotoopt});
    connect(m_account, &AccountHeader::menuRequested, m_menus, &HeaderMenus::showDropMenu);
    m_saveFolder = new SaveFolderRow(*this, ui->outdiredit);
    m_zones = new ZoneView(*ui, m_switcher, this);
    new FileDrops(*this, [this](const QStringList& paths) { dropFiles(paths); });
    m_screenshot = new ScreenshotHotKey(this, ui->checkhotkeybtn, ui->hotkeyedit);
}

CMainWnd::~CMainWnd()
{
    shutdown();
}

void CMainWnd::shutdown()
{
    m_registry->requestStop();
    m_tasks.joinAll();
    m_account->stopPolling();
    if (m_ads)
        m_ads->stop();
}

void CMainWnd::initWindow()
{
    setWindowIcon(QIcon(QStringLiteral(":/KorvexRes/korvex.png")));
    user().getFileVersion();
    const std::wstring version = Utils::utf8ToWide(user().getProgramVersion());
    for (const int language : {Glossary::CHINESE, Glossary::ENGLSH})
        m_titles[language] = toQt(Glossary::textIn(language, Glossary::TextRequest(TextId::WindowTitle, version)));

    m_animatedAddButton = new CGifButton(QStringLiteral("addfilebtn"), QStringLiteral(":/KorvexRes/centerBtn.png"));
    m_animatedAddButton->setFixedSize(424, 286);
    ui->animGifContainerLayout->insertWidget(1, m_animatedAddButton, 0, Qt::AlignHCenter);
    m_ads = new AdRotation(m_action, this);
    ui->subpaneLayout->insertWidget(0, m_ads->button());
    connect(m_animatedAddButton, &CGifButton::clicked, this, [this] { onClick(QStringLiteral("addfilebtn")); });
    connect(m_ads->button(), &CGifButton::clicked, this, [this] { onClick(QStringLiteral("adsbtn")); });

    const int language = user().getLanguage() == Glossary::CHINESE ? Glossary::CHINESE : Glossary::ENGLSH;
    LanguageManager::instance().apply(language);
    if (language == Glossary::CHINESE)
        m_ads->requestSoon();
    FramelessFrame::setBrand(ui->brandctrl, language == Glossary::CHINESE);
    m_frame->setTitle(title(language));

    connectButtons();
    m_switcher.setWindow(seamHandle());
    m_zones->connectChoice();
    m_saveFolder->show();

    m_account->showStoredAvatar();
    m_history->fillFromConfiguration();
    m_menus->createTrayIcon();
    sendStartupRequests();

    for (QWidget* hidden : std::initializer_list<QWidget*>{ui->imageconvertopt, ui->wpsconvertopt, ui->onlineconvertopt,
                                                           ui->librarybtn, ui->subchoicezone})
        hidden->hide();
    retranslateCodeTexts();
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
        if (button == ui->pdfconvertopt || button == ui->pdfprocessingopt)
            continue; // the zone choice
        bool inRow = false;
        for (QObject* p = button->parent(); p && !inRow; p = p->parent())
            inRow = p->inherits("ListRowWidget");
        if (inRow)
            continue; // rows are wired by the file lists
        connect(button, &QAbstractButton::clicked, this, [this, button] { onClick(button->objectName()); });
    }
}

void CMainWnd::onClick(const QString& name)
{
    const std::map<QString, std::function<void()>> clicks = {
        {QStringLiteral("closebtn"), [this] { onCloseButton(); }},
        {QStringLiteral("minbtn"), [this] { showMinimized(); }},
        {QStringLiteral("maxbtn"), [this] { showMaximized(); }},
        {QStringLiteral("restorebtn"), [this] { showNormal(); }},
        {QStringLiteral("switchlanbtn"), [this] { switchLanguage(); }},
        {QStringLiteral("addfilebtn"), [this] { m_lists->addFromDialog(); }},
        {QStringLiteral("convertbtn"), [this] { m_lists->startRun(); }},
        {QStringLiteral("continueConvBtn"), [this] { m_lists->continueZone(); }},
        {QStringLiteral("changedirbtn"), [this] { m_saveFolder->change(); }},
        {QStringLiteral("browsedirbtn"), [this] { m_saveFolder->open(); }},
        {QStringLiteral("capturehistoryfilebtn"), [this] { m_saveFolder->open(); }},
        {QStringLiteral("loginbtn"), [this] { m_account->onButton(); }},
        {QStringLiteral("nickphotoopt"), [this] { m_account->onButton(); }},
        {QStringLiteral("dropbtn"), [this] { m_menus->showDropMenu(); }},
        {QStringLiteral("capturescropt"), [this] { showCapturePane(); }},
        {QStringLiteral("adsbtn"), [this] { m_ads->onClick(); }},
    };
    if (const auto click = clicks.find(name); click != clicks.end())
        click->second();
}

void CMainWnd::onCloseButton()
{
    if (ClosePrompt::ask(*this) == ClosePrompt::Quit)
        requestQuit();
}

void CMainWnd::requestQuit()
{
    m_quitting = true;
    emit quitRequested();
}

void CMainWnd::showCapturePane()
{
    ui->capturescropt->setChecked(true);
    ui->switchpane->setCurrentWidget(ui->captureLayout);
}

void CMainWnd::switchLanguage()
{
    const auto language = user().getLanguage() == Glossary::CHINESE ? Glossary::ENGLSH : Glossary::CHINESE;
    user().setLanguage(language);
    LanguageManager::instance().apply(language);
    FramelessFrame::setBrand(ui->brandctrl, language == Glossary::CHINESE);
    if (m_ads)
        m_ads->showPlaceholder();
    retranslateCodeTexts();
    m_zones->rebuild();
}

void CMainWnd::retranslateCodeTexts()
{
    const int language = glossaryLanguage();
    m_frame->setTitle(title(language));
    setWindowTitle(toQt(Glossary::text(TextId::AppTitle)));
    m_menus->retranslate();
    ui->switchlanbtn->setText(toQt(Glossary::text(TextId::OtherLanguage)));
    m_account->retranslate();
    m_lists->retranslate();
}

void CMainWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateCodeTexts();
        m_zones->rebuild();
    }
    QWidget::changeEvent(event);
}

void CMainWnd::closeEvent(QCloseEvent* event)
{
    // The system's close (window manager, Alt+F4) ends the program at once.
    event->accept();
    if (!m_quitting)
        requestQuit();
}

bool CMainWnd::event(QEvent* event)
{
    if (dispatchSeamEvent(event))
        return true;
    return QWidget::event(event);
}

std::intptr_t CMainWnd::handleSeamMessage(int message, std::intptr_t wParam,
                                          std::unique_ptr<MessagePayload> payload)
{
    switch (message) {
    case WM_UI_NOTIFY:
        onUiNotify(wParam, std::move(payload));
        break;
    case WM_USER_REFRESH:
        m_account->refresh();
        break;
    case WM_LOGGED_OFF:
        m_account->loggedOff();
        break;
    case WM_FILE_CHECK_STATUS: {
        auto* row = dynamic_cast<RowPayload*>(payload.get());
        m_lists->onCheckStatus(static_cast<int>(wParam), row ? row->row : 0);
        break;
    }
    case WM_MENU_COMMAND:
        if (auto* command = dynamic_cast<MenuCommandPayload*>(payload.get()))
            m_menus->runMenuCommand(command->name);
        break;
    case WM_RUN_FINISHED:
        m_lists->onRunFinished(static_cast<int>(wParam));
        break;
    case WM_PANE_STATE_CHANGED:
        m_zones->rebuild();
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
        // The only window timer the actions start and stop is the login-status polling.
        if (auto* timer = dynamic_cast<TimerPayload*>(payload.get()); timer && wParam == kLoginStatusTimer)
            m_account->startPolling(timer->periodMs);
        break;
    case WM_STOP_TIMER:
        if (wParam == kLoginStatusTimer)
            m_account->stopPolling();
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
    case Notify::LoggedOffElsewhere:
        m_account->stopPolling();
        MessageSink::current().post(seamHandle(), WM_LOGGED_OFF, 0, nullptr);
        if (number() == 0)
            showPrompt(TextId::AccountUnavailable);
        break;
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
            m_account->showAvatar(path->path);
        break;
    case Notify::HistoryEntry:
        if (auto* path = dynamic_cast<WidePathPayload*>(payload.get()))
            m_history->add(path->path);
        break;
    case Notify::UpgradeReply:
        if (auto* info = dynamic_cast<UpgradeInfo*>(payload.get()))
            m_updates->onReply(*info);
        break;
    case Notify::AdsReply:
        if (auto* ads = dynamic_cast<JsonPayload*>(payload.get()))
            m_ads->onReply(ads->value);
        break;
    case Notify::AdImageReady:
        m_ads->onImageReady();
        break;
    default:
        break; // transfer failures (RequestError, ParseError, JsonError) are not shown here
    }
}

void CMainWnd::showPrompt(int textId)
{
    CMessageWnd::showMessage(this, toQt(Glossary::text(TextId::Prompt)), toQt(Glossary::text(textId)), CMessageWnd::ConfirmOnly);
}
