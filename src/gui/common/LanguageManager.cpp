#include "gui/common/LanguageManager.h"

#include <QCoreApplication>
#include <QDir>

LanguageManager& LanguageManager::instance()
{
    static LanguageManager manager;
    return manager;
}

void LanguageManager::apply(int language)
{
    if (language == m_current)
        return;
    m_current = language;
    for (const auto& translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
    m_translators.clear();
    if (language != 1)
        return;
    const QStringList files = QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("*_zh_CN.qm")});
    for (const QString& file : files) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral(":/i18n/") + file)) {
            QCoreApplication::installTranslator(translator.get());
            m_translators.push_back(std::move(translator));
        }
    }
}
