#pragma once
// The ways a user can be reached about feedback (the feedback window's combo box, by index):
// the key sent to the service, the pattern a contact must match, and the kind's name in the
// window's messages.

#include <string>

class FeedbackContact {
public:
    enum Kind { QQ = 0, Email = 1, Phone = 2 };

    // "qq", "email", or "phone" (index 2 and any other).
    static std::string key(int index);
    // The whole contact matches the kind's pattern.
    static bool isValid(int index, const std::string& contact);
    // "QQ号" / "QQ", "邮箱号" / "e - mail", "手机号" / "Microphone" (language: glossary numbering).
    static std::wstring name(int index, int language);
    // What an empty feedback lacks: "建议" / "Suggestion".
    static std::wstring suggestionName(int language);
    // A detail of nothing but white space says nothing and counts as empty.
    static bool isBlank(const std::wstring& detail);
};
