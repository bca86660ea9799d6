#pragma once
// The desktop side of the common utilities: file and folder dialogs,
// opening documents and web pages, and showing a file in the file manager. None of them
// throws or shows a message; failures the user cannot cause are filed as error reports with
// the source name "..\..\include\common\Utils".

#include <QString>

#include <string>

class QWidget;

namespace DesktopUtils {

// The multi-selection open-file dialog for existing files. filter is a Qt name filter list
// ("PDF (*.pdf);;All files (*)"); a Win32 filter list (description and pattern pairs, each
// ended by a NUL character) is accepted too. filterIndex is the one-based filter selected at
// first. Returns every chosen path followed by "\n" (the last one too); empty on cancel.
// The dialog opens in the folder files were last chosen from since the program started,
// else in the documents folder.
std::wstring selectFiles(QWidget* owner, const QString& title, const QString& filter,
                         int filterIndex);

// The folder dialog titled "Please, select a folder", starting at path when that is a folder.
// True with the chosen folder in path; false on cancel (path unchanged). A choice that is not
// a local folder files "SHGetPathFromIDList" (line "100") and gives false.
bool selectFolder(QWidget* owner, std::wstring& path);

// Opens a web address (anything with a scheme, "https://…", "mailto:…") or a local file or
// folder with the desktop's default program. The result is not examined.
void shellOpen(const std::wstring& target);
void shellOpen(const std::string& target); // UTF-8

// Shows the file manager on the folder that holds path, with that item selected: first through
// the freedesktop file manager interface (org.freedesktop.FileManager1 ShowItems), else by
// opening the containing folder. A path that does not exist files "ILCreateFromPath" (line
// "198"); when neither way works it files "SHOpenFolderAndSelectItems" with "path|-1" (line
// "191"). Both give false.
bool openFolderAndSelectItem(const std::wstring& path);

} // namespace DesktopUtils
