#include "gui/mainwnd/AdRotation.h"

#include "core/actions/Action.h"
#include "core/common/Utils.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/common/DesktopUtils.h"
#include "gui/common/QtText.h"
#include "gui/filelist/CGifButton.h"

#include <json/value.h>

namespace {

User& user()
{
    return *User::current();
}

const QString kPlaceholder = QStringLiteral(":/KorvexRes/capturePrompt_1.png");

} // namespace

AdRotation::AdRotation(std::shared_ptr<Action> action, QObject* parent)
    : QObject(parent), m_button(new CGifButton(QStringLiteral("adsbtn"), kPlaceholder)), m_action(std::move(action))
{
    m_button->setFixedHeight(120);
    m_requestTimer.setSingleShot(true);
    connect(&m_requestTimer, &QTimer::timeout, this, [this] { user().SendRequest(RequestId::GetAds, m_action); });
    connect(&m_rotateTimer, &QTimer::timeout, this, &AdRotation::rotate);
}

void AdRotation::requestSoon()
{
    m_requestTimer.start(kRequestDelayMs);
}

void AdRotation::stop()
{
    m_requestTimer.stop();
    m_rotateTimer.stop();
}

void AdRotation::onReply(const Json::Value& ads)
{
    m_available = true;
    for (const Json::Value& ad : ads) {
        if (ad.isObject())
            user().advertisements().add({ad["img_key"].asString(), ad["img_url"].asString(), L""});
    }
    user().downloadAdvertisements(m_action);
}

void AdRotation::onImageReady()
{
    if (m_button->property("adShown").toBool())
        return;
    if (const auto ad = user().advertisements().next(""); ad && !ad->localPath.empty()) {
        m_button->setImage(toQt(ad->localPath));
        m_button->setProperty("userdata", QString::fromStdString(ad->imgKey));
        m_button->setProperty("adShown", true);
        m_rotateTimer.start(kRotatePeriodMs);
    }
}

void AdRotation::onClick()
{
    if (!m_available)
        return;
    const std::string url = user().adClickUrl(m_button->property("userdata").toString().toStdString());
    if (!url.empty())
        DesktopUtils::shellOpen(Utils::utf8ToWide(url));
}

void AdRotation::showPlaceholder()
{
    m_button->setImage(kPlaceholder);
}

void AdRotation::rotate()
{
    const std::string current = m_button->property("userdata").toString().toStdString();
    const auto next = user().advertisements().next(current);
    if (next && next->imgKey != current && !next->localPath.empty()) {
        m_button->setImage(toQt(next->localPath));
        m_button->setProperty("userdata", QString::fromStdString(next->imgKey));
    }
}
