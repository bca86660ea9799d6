#pragma once
// Conversions between the core's wide strings and Qt's strings.

#include <QString>

#include <string>

inline QString toQt(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

inline std::wstring fromQt(const QString& text)
{
    return text.toStdWString();
}
