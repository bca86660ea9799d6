#include "gui/mainwnd/SaveFolderRow.h"

#include "core/common/Utils.h"
#include "core/user/User.h"
#include "gui/common/DesktopUtils.h"
#include "gui/common/QtText.h"

#include <QLineEdit>

SaveFolderRow::SaveFolderRow(QWidget& window, QLineEdit* folder) : QObject(&window), m_window(window), m_folder(folder) {}

void SaveFolderRow::show()
{
    m_folder->setText(QString::fromStdString(User::current()->getSavePath()));
}

void SaveFolderRow::change()
{
    std::wstring folder = fromQt(m_folder->text());
    if (DesktopUtils::selectFolder(&m_window, folder)) {
        m_folder->setText(toQt(folder));
        User::current()->setSavePath(Utils::wideToAnsi(folder));
    }
}

void SaveFolderRow::open()
{
    DesktopUtils::shellOpen(Utils::utf8ToWide(User::current()->getSavePath()));
}
