#pragma once
// The process-wide interface language and the numbered texts of both languages.

namespace Glossary {

// Spelled as stored in the configuration file ("Glossary::Language::ENGLSH").
enum Language { ENGLSH = 0, CHINESE = 1, DEFAULT = 2 };

// 0 English, 1 Chinese. Written on the UI thread; read by every lookup.
void setCurrentLanguage(int language);
int currentLanguage();

} // namespace Glossary
