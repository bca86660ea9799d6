#pragma once
// A scrolling list of rows, one under the other. Rows are named by their RowId so that messages
// from workers can find them (or find that they are gone).

#include "gui/filelist/ListRowWidget.h"

#include <QHash>
#include <QList>
#include <QScrollArea>

class QVBoxLayout;

class FileListWidget : public QScrollArea {
    Q_OBJECT
public:
    // name becomes the objectName ("pdfsplit_lst", "historylst", ...).
    explicit FileListWidget(const QString& name, QWidget* parent = nullptr);

    // Appends the row and owns it from now on. False when the list refuses it (the maximum is
    // reached, or the row is null or already listed); a refused new row is deleted at once.
    bool addRow(ListRowWidget* row);
    // Removes and deletes the row; deletion waits for the event loop, so a row may ask for its
    // own removal from one of its signals.
    void removeRow(RowId id);
    // Moves a listed row to newIndex (clamped), keeping the scroll position. False when the row
    // is not listed.
    bool moveRow(RowId id, int newIndex);
    void clear();

    ListRowWidget* row(RowId id) const;
    QList<ListRowWidget*> rows() const { return m_rows; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // -1 when the row is not listed.
    int indexOf(RowId id) const;
    // The row whose filePathname equals path exactly (case-sensitive), or null.
    ListRowWidget* findByPath(const QString& path) const;

    // -1 (the default) for no limit.
    void setMaximumRows(int maximum) { m_maximumRows = maximum; }
    int maximumRows() const { return m_maximumRows; }

protected:
    // The widget that holds the rows; row geometries are in its coordinates.
    QWidget* container() const { return m_container; }
    // Called once a row has been added, for lists that watch their rows.
    virtual void rowAdded(ListRowWidget* row) {}

private:
    void dropRow(ListRowWidget* row);

    QWidget* m_container;
    QVBoxLayout* m_layout;
    QList<ListRowWidget*> m_rows;
    QHash<RowId, ListRowWidget*> m_byId;
    int m_maximumRows = -1;
};
