#pragma once
// A text id with the values that fill its "%%" placeholders, in order.

#include <initializer_list>
#include <string>
#include <vector>

namespace Glossary {

class TextRequest {
public:
    explicit TextRequest(int id) : m_id(id) {}
    // One replacement; an empty text means no replacement at all.
    TextRequest(int id, const std::wstring& replacement) : m_id(id)
    {
        if (!replacement.empty())
            m_replacements.push_back(replacement);
    }
    TextRequest(int id, std::vector<std::wstring> replacements)
        : m_id(id), m_replacements(std::move(replacements)) {}
    TextRequest(int id, std::initializer_list<std::wstring> replacements)
        : m_id(id), m_replacements(replacements) {}

    int id() const { return m_id; }
    const std::vector<std::wstring>& replacements() const { return m_replacements; }

private:
    int m_id;
    std::vector<std::wstring> m_replacements;
};

} // namespace Glossary
