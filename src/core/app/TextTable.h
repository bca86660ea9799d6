#pragma once
// Every user-visible text that code produces, keyed by id, in English (index 0) and Chinese
// (index 1). Built once, read-only afterwards, so lookups from any thread need no lock.

#include "core/app/TextRequest.h"

#include <map>
#include <string>
#include <vector>

namespace Glossary {

class TextTable {
public:
    static TextTable& instance();

    // The text in the current language with the replacements applied. Throws
    // std::runtime_error("Not Enough Replaced Symbol") when there are more replacements than
    // placeholders. An id the table does not hold gives an empty text.
    std::wstring getText(const TextRequest& request) const;
    std::wstring getText(const TextRequest& request, int language) const;

    // The raw text of one language, or empty when the id is unknown.
    std::wstring rawText(int id, int language) const;

    // The numbered glossary; the windows' own texts (from 1001 on) are looked up beside it.
    const std::map<int, std::vector<std::wstring>>& entries() const { return m_texts; }

private:
    TextTable();
    const std::vector<std::wstring>* find(int id) const;

    std::map<int, std::vector<std::wstring>> m_texts;
    std::map<int, std::vector<std::wstring>> m_windowTexts;
};

// Shorthand for TextTable::instance().getText(...).
std::wstring text(const TextRequest& request);
std::wstring text(int id);
std::wstring text(int id, const std::wstring& replacement);
// The text in the given language, whatever the current one.
std::wstring textIn(int language, const TextRequest& request);

} // namespace Glossary
