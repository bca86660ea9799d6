#include "core/app/TextTable.h"

#include "core/app/Glossary.h"
#include "core/app/GlossaryTexts.h"

#include <stdexcept>

namespace Glossary {

TextTable& TextTable::instance()
{
    static TextTable table;
    return table;
}

TextTable::TextTable()
{
    for (const TextEntry& entry : textEntries())
        m_texts[entry.id] = {entry.english, entry.chinese};
}

std::wstring TextTable::rawText(int id, int language) const
{
    const auto it = m_texts.find(id);
    if (it == m_texts.end() || language < 0 || language >= static_cast<int>(it->second.size()))
        return {};
    return it->second[static_cast<std::size_t>(language)];
}

std::wstring TextTable::getText(const TextRequest& request) const
{
    const int language = currentLanguage();
    const auto it = m_texts.find(request.id());
    if (it == m_texts.end())
        return {};
    std::wstring text = it->second.at(static_cast<std::size_t>(language));
    // Each replacement takes the first "%" from the start, so "%d" markers and a "%" inside an
    // earlier replacement are taken too.
    for (const std::wstring& replacement : request.replacements()) {
        const std::size_t pos = text.find(L'%');
        if (pos == std::wstring::npos)
            throw std::runtime_error("Not Enough Replaced Symbol");
        text.replace(pos, 2, replacement);
    }
    return text;
}

std::wstring text(const TextRequest& request)
{
    return TextTable::instance().getText(request);
}

std::wstring text(int id)
{
    return text(TextRequest(id));
}

std::wstring text(int id, const std::wstring& replacement)
{
    return text(TextRequest(id, replacement));
}

} // namespace Glossary
