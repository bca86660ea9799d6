#pragma once
// Reports the result of one row's job to the main window, if the row still exists.

#include "core/converter/ConvertError.h"
#include "core/message/MessageSink.h"
#include "core/tasks/RowId.h"

#include <memory>
#include <string>
#include <vector>

class RowRegistry;

class CommonListItemCallback {
public:
    CommonListItemCallback(WindowHandle window, std::wstring listName,
                           std::shared_ptr<RowRegistry> registry);
    virtual ~CommonListItemCallback() = default;

    virtual void onError(ConvertError error, const std::string& sourceFile, int line);
    virtual void onFinished(bool ok, const std::wstring& inputPath, const std::wstring& outputPath);

    void setRow(RowId row) { m_row = row; }
    RowId row() const { return m_row; }
    const ConvertError& error() const { return m_error; }

protected:
    WindowHandle m_window;
    std::wstring m_listName;
    RowId m_row = 0;
    ConvertError m_error;
    std::vector<int> m_oversizePages; // of the row's job, handed on with its result
    std::shared_ptr<RowRegistry> m_registry;
};

// Tells the service that a conversion finished (whatever its result).
void reportConversion(WindowHandle window);
