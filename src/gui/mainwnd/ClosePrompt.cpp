#include "gui/mainwnd/ClosePrompt.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/tray/TrayIcon.h"

#include <QWidget>

namespace ClosePrompt {

Answer ask(QWidget& window)
{
    const int result = CMessageWnd::showMessage(&window, toQt(Glossary::text(TextId::Prompt)),
                                                toQt(Glossary::text(TextId::RunInBackground)), CMessageWnd::ConfirmCancel);
    if (result == CMessageWnd::Confirm) {
        if (TrayIcon::available())
            window.hide();
        else
            window.showMinimized();
        return InBackground;
    }
    return result == CMessageWnd::Cancel ? Quit : Stay;
}

} // namespace ClosePrompt
