#include "gui/common/RichText.h"

#include <QRegularExpression>

namespace RichText {

namespace {
const QRegularExpression kOpen(QStringLiteral("<c\\s+(#[0-9A-Fa-f]{6})\\s*>"));
const QRegularExpression kClose(QStringLiteral("<\\s*/\\s*c\\s*>"));
} // namespace

QString fromMarkup(const QString& text)
{
    QString out;
    int pos = 0;
    int open = 0;
    while (pos < text.size()) {
        const QRegularExpressionMatch o = kOpen.match(text, pos);
        const QRegularExpressionMatch c = kClose.match(text, pos);
        const int oPos = o.hasMatch() ? o.capturedStart() : -1;
        const int cPos = c.hasMatch() ? c.capturedStart() : -1;
        int next = -1;
        bool isOpen = false;
        if (oPos >= 0 && (cPos < 0 || oPos < cPos)) {
            next = oPos;
            isOpen = true;
        } else if (cPos >= 0) {
            next = cPos;
        }
        if (next < 0) {
            out += text.mid(pos).toHtmlEscaped();
            break;
        }
        out += text.mid(pos, next - pos).toHtmlEscaped();
        if (isOpen) {
            out += QStringLiteral("<span style=\"color:%1\">").arg(o.captured(1));
            ++open;
            pos = o.capturedEnd();
        } else {
            if (open > 0) {
                out += QStringLiteral("</span>");
                --open;
            }
            pos = c.capturedEnd();
        }
    }
    while (open-- > 0)
        out += QStringLiteral("</span>");
    return out;
}

QString stripMarkup(const QString& text)
{
    QString out = text;
    out.remove(kOpen);
    out.remove(kClose);
    return out;
}

} // namespace RichText
