#include "gui/mainwnd/MainStyle.h"

namespace MainStyle {

QString sheet()
{
    return QStringLiteral(R"(
#CMainWnd, #body, #mainColumn, #switchpane, #switchpanePage0 { background: #f5f6f8; }
#header { background: white; border-bottom: 1px solid #e4e6eb; }
#header QLabel#titlelbl { color: #333; font-size: 13px; font-weight: 600; }
#header QToolButton { color: #444; background: transparent; border: none; padding: 6px 10px; font-size: 13px; }
#header QToolButton:hover { background: #fdeef0; color: #fb4d63; border-radius: 4px; }
#header QToolButton#moretoolsopt { padding: 6px 6px; }
#header QToolButton:checked { color: #fb4d63; border-bottom: 2px solid #fb4d63; font-weight: 600; }
#subpane { background: white; border-right: 1px solid #e4e6eb; }
#historyLbl { color: #333; font-size: 13px; font-weight: 600; }
#workingzone { background: white; border: 1px solid #e4e6eb; border-radius: 6px; }
#promptionLbl { color: #888; font-size: 14px; }
#zonebar QPushButton, #folderrow QPushButton, #capturehistoryfilebtn {
  background: white; color: #333; border: 1px solid #d0d3da; border-radius: 4px; padding: 6px 14px; }
#zonebar QPushButton:hover, #folderrow QPushButton:hover, #capturehistoryfilebtn:hover { border-color: #fb4d63; color: #fb4d63; }
#zonebar QPushButton#convertbtn, #zonebar QPushButton#continueConvBtn { background: #fb4d63; color: white; border: none; font-weight: 600; min-width: 110px; }
#zonebar QPushButton#convertbtn:hover, #zonebar QPushButton#continueConvBtn:hover { background: #fa5a6f; color: white; }
#zonebar QPushButton#convertbtn:pressed, #zonebar QPushButton#continueConvBtn:pressed { background: #fa415a; }
#zonebar QPushButton#continueConvBtn:disabled { background: #f6a5b0; }
#folderrow { background: white; border-top: 1px solid #e4e6eb; }
#outdiredit { border: 1px solid #d0d3da; border-radius: 4px; padding: 4px 6px; background: #fafbfc; }
)");
}

} // namespace MainStyle
