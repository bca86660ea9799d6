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
// The windows' own texts (ids from 1001 on): titles, prompts and words of the layouts that
// code sets. Some are shown in Chinese whatever the language, as the windows always showed them.
const std::vector<TextEntry>& windowTextEntries();

} // namespace Glossary
