#include "AccountFields.h"

#include <algorithm>
#include <cctype>

bool validPhone(const std::string& phone)
{
    return phone.size() == 11 && phone[0] == '1' && phone[1] >= '3' && phone[1] <= '9' &&
           std::all_of(phone.begin(), phone.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool validEmail(const std::string& email)
{
    const size_t at = email.find('@');
    if (at == 0 || at == std::string::npos || email.find('@', at + 1) != std::string::npos)
        return false;
    if (email.find_first_of(" &=") != std::string::npos)
        return false;
    const size_t dot = email.find('.', at + 1);
    return dot != std::string::npos && dot > at + 1 && dot + 1 < email.size();
}
