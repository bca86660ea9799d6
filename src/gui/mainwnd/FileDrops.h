#pragma once
// Files dropped on the window: the local paths of the drop, handed on after the drop returns so
// that a message box never runs inside the drag.

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

class FileDrops : public QObject {
    Q_OBJECT
public:
    // Makes window a drop target; take gets the dropped local paths.
    FileDrops(QWidget& window, std::function<void(const QStringList&)> take);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QStringList&)> m_take;
};
