#pragma once
// The advertisement of the header: asked for once shortly after a Chinese start, shown when
// its first picture is downloaded, then rotated every five seconds; a click opens its link.

#include <QObject>
#include <QTimer>

#include <memory>

namespace Json {
class Value;
}
class Action;
class CGifButton;

class AdRotation : public QObject {
    Q_OBJECT
public:
    static constexpr int kRequestDelayMs = 100;
    static constexpr int kRotatePeriodMs = 5000;

    // Makes the header's advertisement button, with the placeholder picture.
    AdRotation(std::shared_ptr<Action> action, QObject* parent);

    CGifButton* button() const { return m_button; }

    // The one request for advertisements, kRequestDelayMs from now.
    void requestSoon();
    bool requestPending() const { return m_requestTimer.isActive(); }
    bool rotating() const { return m_rotateTimer.isActive(); }

    // The service's list: each entry is kept and its picture downloaded.
    void onReply(const Json::Value& ads);
    // A picture arrived: the first one is shown and the rotation starts.
    void onImageReady();
    void onClick();
    // The placeholder picture (a language switch puts it back).
    void showPlaceholder();
    void stop();

private:
    void rotate();

    CGifButton* m_button;
    std::shared_ptr<Action> m_action;
    QTimer m_requestTimer;
    QTimer m_rotateTimer;
    bool m_available = false;
};
