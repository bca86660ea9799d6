#include "mainwnd/MainStyle.h"

namespace MainStyle {

QString sheet()
{
    return QStringLiteral(R"(
#CMainWnd, #body, #mainColumn, #switchpane, #switchpanePage0 { background: #f5f6f8; }
#header { background: #fb4d63; }
#header QLabel#titlelbl { color: white; font-size: 14px; font-weight: 600; }
#header QToolButton { color: white; background: transparent; border: none; padding: 6px 10px; font-size: 13px; }
#header QToolButton:hover { background: rgba(255,255,255,0.18); border-radius: 4px; }
#header QToolButton:checked { background: rgba(255,255,255,0.28); border-radius: 4px; font-weight: 600; }
#subpane { background: white; border-right: 1px solid #e4e6eb; }
#historyLbl { color: #333; font-size: 13px; font-weight: 600; }
#workingzone { background: white; border: 1px solid #e4e6eb; border-radius: 6px; }
#promptionLbl { color: #888; font-size: 14px; }
#zonebar QPushButton, #folderrow QPushButton, #capturehistoryfilebtn {
  background: white; color: #333; border: 1px solid #d0d3da; border-radius: 4px; padding: 6px 14px; }
#zonebar QPushButton:hover, #folderrow QPushButton:hover, #capturehistoryfilebtn:hover { border-color: #fb4d63; color: #fb4d63; }
#convertbtn, #continueConvBtn { background: #fb4d63; color: white; border: none; font-weight: 600; min-width: 110px; }
#convertbtn:hover, #continueConvBtn:hover { background: #fa5a6f; color: white; }
#convertbtn:pressed, #continueConvBtn:pressed { background: #fa415a; }
#continueConvBtn:disabled { background: #f6a5b0; }
#folderrow { background: white; border-top: 1px solid #e4e6eb; }
#outdiredit { border: 1px solid #d0d3da; border-radius: 4px; padding: 4px 6px; background: #fafbfc; }
)");
}

} // namespace MainStyle
