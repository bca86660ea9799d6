#pragma once
// The merge list: its rows can be put in order by dragging one onto another with the mouse.
// The drop asks the drag callback first; without a callback the order never changes.

#include "gui/filelist/FileListWidget.h"

#include <QPoint>
#include <QPointer>

class CDragCallBack;
class QFrame;

class CMyListUI : public FileListWidget {
    Q_OBJECT
public:
    explicit CMyListUI(const QString& name, QWidget* parent = nullptr);

    // Not owned; must outlive the list or be reset to null first.
    void setDragCallBack(CDragCallBack* callback) { m_callback = callback; }

    // The listed row whose rectangle holds a point of the rows' area, or null.
    ListRowWidget* rowAt(const QPoint& containerPos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(const QPoint& pos);
    void moved(const QPoint& pos);
    void released(const QPoint& pos);
    void showDropIndicator(const QPoint& pos);

    CDragCallBack* m_callback = nullptr;
    QPointer<ListRowWidget> m_pressedRow;
    QPoint m_pressPos;
    bool m_dragging = false;
    QFrame* m_dropIndicator;
};
