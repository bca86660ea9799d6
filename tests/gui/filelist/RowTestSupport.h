#pragma once
// Small helpers of the row tests: readable QStrings in failure messages, a glossary language
// that holds for one scope (the program itself starts in Chinese), and a row's named parts.

#include "core/app/Glossary.h"

#include <QString>
#include <QWidget>

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

// A named part of a row, and whether it would show with the row.
template <typename T = QWidget>
T* part(QWidget* row, const char* name)
{
    return row->findChild<T*>(QString::fromLatin1(name));
}

inline bool shown(QWidget* row, const char* name)
{
    return part(row, name)->isVisibleTo(row);
}
