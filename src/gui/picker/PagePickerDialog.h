#pragma once
// Chooses pages of a row's file on pictures of them (form PagePickerDialog.ui). Extract and
// merge rows: a click picks the first page, a Shift+click (or Shift+arrow) the last; OK puts
// the range into the row. Split rows: a click in the gap after a page (or Space on it) sets or
// clears a split point; OK puts the points into the row, which then splits at points. A split
// row that splits at bookmarks shows where its level's bookmarks start. Cancel and Escape
// change nothing.

#include <QDialog>
#include <QTimer>

#include <memory>

class FileRowWidget;
class PageFacts;
class PageGridDelegate;
class PageGridModel;
class QListView;

namespace Ui {
class PagePickerDialog;
}

class PagePickerDialog : public QDialog {
    Q_OBJECT
public:
    enum Mode { Range, SplitPoints };

    // pageCount: the pages the inspection counted in the row's file.
    PagePickerDialog(FileRowWidget& row, int pageCount, QWidget* parent = nullptr);
    ~PagePickerDialog() override;

    Mode mode() const { return m_mode; }
    PageGridModel* model() const { return m_model; }
    QListView* grid() const;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void pick(int page, bool extend);
    void showVisiblePages();
    void updateTexts();

    std::unique_ptr<Ui::PagePickerDialog> m_ui;
    FileRowWidget& m_row;
    const Mode m_mode;
    const int m_bookmarkLevel;
    PageGridModel* m_model;
    PageGridDelegate* m_delegate;
    PageFacts* m_facts = nullptr;
    QTimer m_visibleTimer;
    // The page scrolled to once the picker shows (0 once it has).
    int m_startPage = 1;
    int m_anchor = 1;
    bool m_extend = false;
    bool m_pointsChanged = false;
};
