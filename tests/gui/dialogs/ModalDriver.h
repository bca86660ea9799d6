#pragma once
// Drives a modal window from inside its exec(): once the window is up, act() runs on it; if
// act() leaves it open, it is closed with -1 so that a failing test never hangs.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

inline void whenModal(std::function<void(QDialog*)> act)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, timer, poll] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (timer->elapsed() > 10000) {
                ADD_FAILURE() << "no modal window came up";
                *poll = nullptr;
                return;
            }
            QTimer::singleShot(10, *poll);
            return;
        }
        act(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the window was left open";
            dialog->done(-1);
        }
        *poll = nullptr; // breaks the cycle
    };
    QTimer::singleShot(0, *poll);
}

// Loads the dialogs' Chinese layout texts and installs them for the life of this object.
class ChineseLayoutTexts {
public:
    ChineseLayoutTexts()
    {
        m_loaded = m_translator.load(QStringLiteral(":/i18n/dialogs_zh_CN.qm"));
        if (m_loaded)
            QCoreApplication::installTranslator(&m_translator);
    }
    ~ChineseLayoutTexts()
    {
        if (m_loaded)
            QCoreApplication::removeTranslator(&m_translator);
    }
    bool loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded = false;
};
