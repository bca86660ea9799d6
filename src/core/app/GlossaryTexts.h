#pragma once
// The constant data of the text table.

#include <vector>

namespace Glossary {

struct TextEntry {
    int id;
    const wchar_t* english;
    const wchar_t* chinese;
};

const std::vector<TextEntry>& textEntries();

} // namespace Glossary
