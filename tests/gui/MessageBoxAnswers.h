#pragma once
// Answers the program's message boxes in GUI tests: each box that comes up (also inside
// another window's modal run) gets the next answer in turn, and what it showed is noted.
// The polling stops with this object, so a box that never came cannot be answered later.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

// What a message box showed before a button of it was clicked.
struct SeenBox {
    bool seen = false;
    QString text;
    QString confirmText;
    QString cancelText;
};

class MessageBoxAnswers {
public:
    // Clicks the named button of the next box.
    void answerNext(const QString& button, SeenBox* seen) { answerInTurn({{button, seen}}); }

    void answerInTurn(std::vector<std::pair<QString, SeenBox*>> answers)
    {
        auto* poll = new QTimer(m_owner.get());
        poll->setInterval(20);
        auto next = std::make_shared<std::size_t>(0);
        QObject::connect(poll, &QTimer::timeout, [poll, answers, next] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box->objectName() != QLatin1String("msgwnd") || box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            const auto& [button, seen] = answers[*next];
            if (++*next == answers.size())
                poll->stop();
            const auto text = [box](const char* name) {
                if (auto* label = box->findChild<QLabel*>(QString::fromLatin1(name)))
                    return label->text();
                if (auto* b = box->findChild<QAbstractButton*>(QString::fromLatin1(name)))
                    return b->text();
                return QString();
            };
            seen->text = text("MsgText");
            seen->confirmText = text("BtnConfirm");
            seen->cancelText = text("BtnCancel");
            seen->seen = true;
            if (auto* b = box->findChild<QAbstractButton*>(button))
                QTimer::singleShot(0, b, &QAbstractButton::click);
        });
        poll->start();
    }

    void stop() { m_owner = std::make_unique<QObject>(); }

private:
    std::unique_ptr<QObject> m_owner = std::make_unique<QObject>();
};
