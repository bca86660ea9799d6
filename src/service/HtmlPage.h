#pragma once
// The few web pages the service shows in a browser (terms, user centre, advertisements).

#include <string>

class HtmlPage {
public:
    static std::string escape(const std::string& text);
    // A complete page; title is escaped here, body is HTML already.
    static std::string render(const std::string& title, const std::string& body);
};
