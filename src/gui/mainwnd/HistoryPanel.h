#pragma once
// The history side panel: one row per produced file, kept in step with the stored history.

#include <QObject>

#include <string>

class FileListWidget;
class HistoryRowWidget;
class QWidget;

class HistoryPanel : public QObject {
    Q_OBJECT
public:
    HistoryPanel(QWidget& window, QWidget* holder);

    // Rows for the stored history; entries without a row (missing file, duplicate) are dropped
    // from the configuration.
    void fillFromConfiguration();
    // A new output; a path already listed gets no second row. Returns whether a row was made.
    bool add(const std::wstring& path);
    void remove(HistoryRowWidget* row);
    void reveal(HistoryRowWidget* row);

    FileListWidget* list() const { return m_list; }

private:
    QWidget& m_window;
    FileListWidget* m_list;
};
