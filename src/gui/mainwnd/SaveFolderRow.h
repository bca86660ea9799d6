#pragma once
// The row under the zones that shows where outputs go: change the folder, or open it.

#include <QObject>

class QLineEdit;
class QWidget;

class SaveFolderRow : public QObject {
    Q_OBJECT
public:
    SaveFolderRow(QWidget& window, QLineEdit* folder);

    // Shows the stored folder.
    void show();
    // Asks for a new folder and stores it.
    void change();
    // Opens the stored folder in the file manager.
    void open();

private:
    QWidget& m_window;
    QLineEdit* m_folder;
};
