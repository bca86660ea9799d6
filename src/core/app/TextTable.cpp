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
    for (const TextEntry& entry : windowTextEntries())
        m_windowTexts[entry.id] = {entry.english, entry.chinese};
}

const std::vector<std::wstring>* TextTable::find(int id) const
{
    if (const auto it = m_texts.find(id); it != m_texts.end())
        return &it->second;
    if (const auto it = m_windowTexts.find(id); it != m_windowTexts.end())
        return &it->second;
    return nullptr;
}

std::wstring TextTable::rawText(int id, int language) const
{
    const std::vector<std::wstring>* texts = find(id);
    if (!texts || language < 0 || language >= static_cast<int>(texts->size()))
        return {};
    return (*texts)[static_cast<std::size_t>(language)];
}

std::wstring TextTable::getText(const TextRequest& request) const
{
    return getText(request, currentLanguage());
}

std::wstring TextTable::getText(const TextRequest& request, int language) const
{
    const std::vector<std::wstring>* texts = find(request.id());
    if (!texts)
        return {};
    std::wstring text = texts->at(static_cast<std::size_t>(language));
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

std::wstring textIn(int language, const TextRequest& request)
{
    return TextTable::instance().getText(request, language);
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
