#include "user/FeedbackContact.h"

#include "app/Glossary.h"

#include <algorithm>
#include <cwctype>
#include <regex>

namespace {

int kindOf(int index)
{
    return index == FeedbackContact::QQ || index == FeedbackContact::Email ? index : FeedbackContact::Phone;
}

bool chinese(int language)
{
    return language == Glossary::CHINESE;
}

} // namespace

std::string FeedbackContact::key(int index)
{
    switch (kindOf(index)) {
    case QQ:
        return "qq";
    case Email:
        return "email";
    default:
        return "phone";
    }
}

bool FeedbackContact::isValid(int index, const std::string& contact)
{
    static const std::regex qq("[1-9][0-9]{4,14}");
    static const std::regex email(R"((\w+)(\.|_)?(\w*)@(\w+)(\.(\w+))+)");
    static const std::regex phone(R"(^(?:1[3-9])\d{9}$)");
    switch (kindOf(index)) {
    case QQ:
        return std::regex_match(contact, qq);
    case Email:
        return std::regex_match(contact, email);
    default:
        return std::regex_match(contact, phone);
    }
}

std::wstring FeedbackContact::name(int index, int language)
{
    switch (kindOf(index)) {
    case QQ:
        return chinese(language) ? L"QQ号" : L"QQ";
    case Email:
        return chinese(language) ? L"邮箱号" : L"e - mail";
    default:
        return chinese(language) ? L"手机号" : L"Microphone";
    }
}

std::wstring FeedbackContact::suggestionName(int language)
{
    return chinese(language) ? L"建议" : L"Suggestion";
}

bool FeedbackContact::isBlank(const std::wstring& detail)
{
    return std::all_of(detail.begin(), detail.end(), [](wchar_t c) { return std::iswspace(c) || c == 0x3000; });
}
