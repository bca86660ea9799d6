#pragma once
// Switches the layout texts between the two languages: the forms are written in English and
// every translation file compiled into the program (":/i18n/*_zh_CN.qm") turns them Chinese.
// Installing or removing translators makes Qt send LanguageChange to every widget.

#include <QObject>
#include <QTranslator>

#include <memory>
#include <vector>

class LanguageManager {
public:
    static LanguageManager& instance();

    // 0 English, 1 Chinese (the glossary's numbering).
    void apply(int language);
    int current() const { return m_current; }

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    int m_current = -1;
};
