#pragma once
// Asks for the password of an encrypted PDF (form PasswordWnd.ui) and tries it at once by
// decrypting the file. Result 1: decrypted, and the caller's output path names the copy.
// Result 0: the user gave up (cancel, close, Escape). A wrong password keeps the prompt open;
// there is no limit on attempts.

#include "gui/dialogs/FramelessDialog.h"

#include <memory>
#include <string>

namespace Ui {
class PasswordWnd;
}
namespace Converter {
class ProcessSlot;
}

class PasswordWnd : public FramelessDialog {
    Q_OBJECT

public:
    enum Result { GaveUp = 0, Decrypted = 1 };

    // outputPath: where the decrypted copy goes; an empty path puts it into this run's private
    // temporary folder and is filled with where it went. slot: where the running qpdf is kept,
    // so that the main window can end it (may be null). Both must outlive the prompt.
    PasswordWnd(std::wstring& outputPath, Converter::ProcessSlot* slot, QWidget* owner = nullptr);
    ~PasswordWnd() override;

    // The encrypted file; the prompt names it.
    void setFilePath(const std::wstring& path);

protected:
    void changeEvent(QEvent* event) override;

public slots:
    // Escape and closing the window give up (0), except while a decrypt runs: then they are
    // refused.
    void reject() override;

private:
    enum class Warning { None, EmptyPassword, WrongPassword };

    void onOk();
    void showWarning(Warning warning);
    void updatePrompt();
    void updateWarningText();
    bool decrypt(const std::wstring& password);
    void setBusy(bool busy);

    std::unique_ptr<Ui::PasswordWnd> m_ui;
    std::wstring& m_outputPath;
    Converter::ProcessSlot* m_slot;
    std::wstring m_filePath;
    Warning m_warning = Warning::None;
    bool m_decrypting = false;
};
