#include "gui/mainwnd/HistoryPanel.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "core/user/User.h"
#include "gui/common/DesktopUtils.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/history/HistoryListItemAdder.h"
#include "gui/history/HistoryRowWidget.h"

#include <QLayout>
#include <QWidget>

HistoryPanel::HistoryPanel(QWidget& window, QWidget* holder)
    : QObject(&window), m_window(window), m_list(new FileListWidget(QStringLiteral("historylst"), holder))
{
    holder->layout()->addWidget(m_list);
}

bool HistoryPanel::add(const std::wstring& path)
{
    HistoryListItemAdder adder(m_list);
    if (adder.add(path) != 1)
        return false;
    if (auto* row = dynamic_cast<HistoryRowWidget*>(adder.lastRow())) {
        connect(row, &HistoryRowWidget::removeRequested, this, &HistoryPanel::remove);
        connect(row, &HistoryRowWidget::revealRequested, this, &HistoryPanel::reveal);
    }
    return true;
}

void HistoryPanel::fillFromConfiguration()
{
    User* user = User::current();
    std::vector<std::string> dropped;
    std::size_t gone = 0;
    for (const std::string& entry : user->getHistory()) {
        const std::wstring path = Utils::ansiToWide(entry);
        // Outputs deleted since are dropped here, in one pass: the list would file a report
        // (a service request) for each of them.
        if (Utils::getFileSize(path) == -1) {
            if (gone++ == 0)
                Diagnostics::instance().reportError(L"GetFileBytessize", path, "Window\\ListAdding", L"99");
            dropped.push_back(entry);
        } else if (!add(path)) {
            dropped.push_back(entry);
        }
    }
    // One write for all of them, however many files are gone.
    user->removeHistoryEntries(dropped);
}

void HistoryPanel::remove(HistoryRowWidget* row)
{
    const std::string path = Utils::wideToAnsi(fromQt(row->filePathname()));
    m_list->removeRow(row->rowId());
    if (!path.empty())
        User::current()->removeHistory(path);
}

void HistoryPanel::reveal(HistoryRowWidget* row)
{
    if (!DesktopUtils::openFolderAndSelectItem(fromQt(row->filePathname())))
        CMessageWnd::showMessage(&m_window, toQt(Glossary::text(TextId::Prompt)), toQt(Glossary::text(TextId::FileCannotOpen)), CMessageWnd::ConfirmOnly);
}
