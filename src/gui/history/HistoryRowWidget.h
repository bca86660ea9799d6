#pragma once
// One output file in the history list: its type icon and name, and buttons to reveal it in the
// file manager or to drop it from the history.

#include "gui/filelist/ListRowWidget.h"

#include <memory>
#include <string>

namespace Ui {
class HistoryRowWidget;
} // namespace Ui

class HistoryRowWidget : public ListRowWidget {
    Q_OBJECT
public:
    explicit HistoryRowWidget(QWidget* parent = nullptr);
    ~HistoryRowWidget() override;

    // Path ("filePathname"), name with tool tip, and the icon of the file's type.
    void fill(const std::wstring& path);

    // The 16-pixel icon resource for a path, by its extension without regard to case.
    static QString iconFor(const std::wstring& path);

signals:
    void revealRequested(HistoryRowWidget* row);
    void removeRequested(HistoryRowWidget* row);

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::HistoryRowWidget> m_ui;
};
