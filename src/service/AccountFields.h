#pragma once
// The account fields the service checks before it stores or looks up anything.

#include <string>

// Eleven digits, "1" and then 3 to 9.
bool validPhone(const std::string& phone);

// A local part, "@", and a domain with at least one dot; no spaces, "&" or "=".
bool validEmail(const std::string& email);
