#include "gui/filelist/ListAdding.h"

#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "gui/common/QtText.h"
#include "gui/filelist/FileListWidget.h"

ListAdding::ListAdding(FileListWidget* list, FileRowWidget::Template tmpl)
    : m_list(list), m_template(tmpl)
{
}

int ListAdding::add(const std::wstring& path)
{
    m_path = path;
    m_lastRow = nullptr;
    m_size = Utils::getFileSize(path);
    if (m_size == -1) {
        Diagnostics::instance().reportError(L"GetFileBytessize", path, "Window\\ListAdding", L"99");
        return Unreadable;
    }
    if (m_list->findByPath(toQt(path)))
        return AlreadyListed;
    ListRowWidget* row = createRow();
    // The path goes on at once so that the next add() of a batch sees it as listed.
    row->setFilePathname(toQt(path));
    if (!m_list->addRow(row))
        return Refused;
    m_lastRow = row;
    return Added;
}

void ListAdding::fill(int zone)
{
    if (auto* row = qobject_cast<FileRowWidget*>(m_lastRow.data())) {
        row->fill(m_path, m_size);
        row->showSettingsFor(zone);
    }
}

ListRowWidget* ListAdding::createRow()
{
    return new FileRowWidget(m_template);
}
