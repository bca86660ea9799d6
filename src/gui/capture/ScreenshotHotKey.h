#pragma once
// The screenshot hot key of the main window: Alt + the letter of `hotkeyedit`, switched on by
// `checkhotkeybtn`. The key starts the screenshot program next to the executable, waits for it
// and copies its picture into the output folder as "ScreenShot_<m>分<s>秒.bmp".

#include <QObject>
#include <QString>

class GlobalHotKey;
class QCheckBox;
class QLineEdit;
class QWidget;

class ScreenshotHotKey : public QObject {
    Q_OBJECT
public:
    static constexpr int kHotKeyId = 1;
    static constexpr const char* kPictureName = "EC截图.bmp";
    // Tells the screenshot program where to leave its picture.
    static constexpr const char* kPictureFolderVariable = "KORVEX_PICTURE_DIR";
    static constexpr int kDefaultTimeLimitMs = 60000;

    // The edit and the check box belong to the window; the key is not registered until the
    // edit changes.
    ScreenshotHotKey(QWidget* window, QCheckBox* check, QLineEdit* edit);
    ~ScreenshotHotKey() override;

    // Registers or releases the key from the stored status and letter; on failure clears the
    // check box and says so.
    bool applyHotKey();
    // The edit changed: stores the letter and the check box state, then applies them.
    void onTextChanged(const QString& text);
    // The key was pressed: released while the picture is taken, then registered again.
    void onHotKey(int id);
    // Runs the screenshot program and copies its picture; nothing while one already runs.
    void takeScreenshot();

    static bool screenshotRunning();
    bool isRegistered() const;

    // The program and how long it may run before it is given up (its own folder holds the
    // picture). By default "snaptor" next to the executable and one minute.
    void setProgram(const QString& path) { m_program = path; }
    void setTimeLimit(int ms) { m_timeLimitMs = ms; }

signals:
    // A picture was copied to this path.
    void pictureSaved(const QString& path);

private:
    bool registerFromValue();
    void copyPicture(const QString& folder);

    QWidget* m_window;
    QCheckBox* m_check;
    QLineEdit* m_edit;
    GlobalHotKey* m_hotKey;
    QString m_program;
    int m_timeLimitMs = kDefaultTimeLimitMs;
};
