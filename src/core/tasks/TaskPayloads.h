#pragma once
// Payloads the workers hand to the main window.

#include "core/converter/ConvertError.h"
#include "core/message/MessagePayload.h"
#include "core/message/MessageSink.h"
#include "core/tasks/RowId.h"

#include <string>
#include <vector>

// Sub-code 26 of WM_UI_NOTIFY: a text for a row's status.
struct RowText : MessagePayload {
    RowText(RowId r, std::wstring t) : row(r), text(std::move(t)) {}
    RowId row;
    std::wstring text;
};

// Sub-code 25 of WM_UI_NOTIFY: a row's progress in percent.
struct RowProgress : MessagePayload {
    RowProgress(RowId r, int p) : row(r), percent(p) {}
    RowId row;
    int percent;
};

// WM_FILE_CHECK_STATUS: the row the inspection step is about.
struct RowPayload : MessagePayload {
    explicit RowPayload(RowId r) : row(r) {}
    RowId row;
};

// WM_FILE_RESULT: the end of one row's job.
struct FileResult : MessagePayload {
    bool ok = false;
    std::wstring outputPath; // for a split, the folder of the pieces
    std::wstring listName;   // "pdfhandle" or "pdfmerge"
    WindowHandle window = 0;
    ConvertError error;      // empty message when no error was reported
    RowId row = 0;
    std::vector<int> oversizePages; // a split by size: pages each alone over the size
};

// Steps of WM_FILE_CHECK_STATUS.
namespace InspectionStep {
enum : int {
    CheckingEncryption = 0,
    Decrypting,
    CountingPages,
    PageCountStored,
    PasswordNeeded,
};
} // namespace InspectionStep

// Sub-code of WM_UI_NOTIFY for row status texts; lParam of WM_RUN_FINISHED.
inline constexpr int kRowTextNotify = 26;
inline constexpr int kRunFinishedParam = 4;
