#pragma once
// Texts may carry "<c #rrggbb>…</c>" colour markup (also written "< / c>"); labels show it as
// Qt rich text.

#include <QString>

namespace RichText {

// The text as Qt rich text: markup turned into coloured spans, everything else escaped.
QString fromMarkup(const QString& text);
// The text without markup, for places that show plain text.
QString stripMarkup(const QString& text);

} // namespace RichText
