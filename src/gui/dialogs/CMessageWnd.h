#pragma once
// The program's own message box (form CMessageWnd.ui): a title, an icon, a text that may carry
// "<c #rrggbb>" colour markup, and up to three buttons. Every prompt and error of the main
// window goes through it. It is modal, centred on its owner, dragged by its caption strip and
// never resized; its result tells which control closed it.

#include "gui/dialogs/FramelessDialog.h"

#include <memory>

namespace Ui {
class CMessageWnd;
}
class QPushButton;

class CMessageWnd : public FramelessDialog {
    Q_OBJECT

public:
    // Result codes.
    enum Result { Cancel = 0, Confirm = 1, Retry = 2, Closed = 3 };

    // Box types: which buttons show.
    //   0 Confirm + Cancel, 1 Confirm, 2 Cancel, 3 Retry + Cancel, 4 none; others as laid out.
    enum Type { ConfirmCancel = 0, ConfirmOnly = 1, CancelOnly = 2, RetryCancel = 3, NoButtons = 4 };

    // "Ok" (text 8) and "Cancle" (text 9) in the current language on the two buttons.
    static int showMessage(QWidget* owner, const QString& title, const QString& text, int type);
    // The same with the caller's button texts.
    static int showMessageWithButtons(QWidget* owner, const QString& title, const QString& text,
                                      const QString& confirmText, const QString& cancelText,
                                      int type);

    explicit CMessageWnd(QWidget* owner = nullptr);
    ~CMessageWnd() override;

    void setType(int type);
    // An empty title or text leaves the form's own text in place.
    void setTitle(const QString& title);
    void setText(const QString& text);
    void setButtonTexts(const QString& confirmText, const QString& cancelText);
    // The two button texts follow the glossary (texts 8 and 9) in the current language.
    void useGlossaryButtonTexts();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

public slots:
    // Escape and closing the window count as the close button.
    void reject() override;

private:
    void applyTexts();
    void fitTextHeight();

    std::unique_ptr<Ui::CMessageWnd> m_ui;
    QPushButton* m_closeBtn = nullptr;
    QPushButton* m_retryBtn = nullptr;
    QPushButton* m_confirmBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QString m_title;
    QString m_text;
    QString m_confirmText;
    QString m_cancelText;
    bool m_glossaryButtons = false;
    int m_baseHeight = 0;
};
