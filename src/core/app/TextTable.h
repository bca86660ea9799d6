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

    // The raw text of one language, or empty when the id is unknown.
    std::wstring rawText(int id, int language) const;

    const std::map<int, std::vector<std::wstring>>& entries() const { return m_texts; }

private:
    TextTable();
    std::map<int, std::vector<std::wstring>> m_texts;
};

// Shorthand for TextTable::instance().getText(...).
std::wstring text(const TextRequest& request);
std::wstring text(int id);
std::wstring text(int id, const std::wstring& replacement);

} // namespace Glossary
