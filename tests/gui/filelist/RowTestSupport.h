#pragma once
// Small helpers of the row tests: readable QStrings in failure messages, and a glossary language
// that holds for one scope (the program itself starts in Chinese).

#include "app/Glossary.h"

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class GlossaryLanguage {
public:
    explicit GlossaryLanguage(int language) : m_previous(Glossary::currentLanguage())
    {
        Glossary::setCurrentLanguage(language);
    }
    ~GlossaryLanguage() { Glossary::setCurrentLanguage(m_previous); }
    GlossaryLanguage(const GlossaryLanguage&) = delete;
    GlossaryLanguage& operator=(const GlossaryLanguage&) = delete;

private:
    int m_previous;
};
