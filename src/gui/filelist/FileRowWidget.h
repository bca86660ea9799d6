#pragma once
// One row of a working zone's file list: the file, its page range, its status through inspection
// and conversion, and its result. Split rows also carry the split settings under the columns.

#include "gui/filelist/ListRowWidget.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;
class RowThumbnail;
struct RowEntry;

namespace Ui {
class FileRowWidgetWithPage;
class FileRowWidgetSplit;
} // namespace Ui

class FileRowWidget : public ListRowWidget {
    Q_OBJECT
public:
    // WithPage: extract and merge rows (editable page range). Split: compress, decrypt and split
    // rows (whole document, split settings bar).
    enum Template { WithPage, Split };

    explicit FileRowWidget(Template tmpl, QWidget* parent = nullptr);
    ~FileRowWidget() override;

    // The template a zone's rows are built from: its row form in the zone table.
    static Template templateForZone(int zone);
    Template rowTemplate() const { return m_template; }

    // The settings bar a zone's rows carry: the split settings, or for the compress zone the
    // level box (Standard at first).
    void showSettingsFor(int zone);
    // A finished row's note beside its mark (a compress row's sizes before and after).
    void showResultNote(const QString& text);
    // A freshly added file: name, size, icons, "Converted" = "false", waiting status.
    void fill(const std::wstring& path, std::int64_t size);
    // The status text, which may carry colour markup.
    void setStatusText(const QString& text);
    // A run starts reporting: the progress bar replaces the status text.
    void showProgress();
    void setProgress(int percent);
    void setPageRange(int from, int to);
    void showRemoveButton(bool show);
    // The run's answer for this row; "Converted" becomes "true".
    void showResult(bool ok, const std::wstring& output, const QString& successText,
                    const QString& failText);

    bool isConverted() const;
    // The output path of a successful run, empty before.
    QString openedFilename() const;

    // Reads the page range (and for the split zone the split settings, for the merge zone the
    // reverse tick) into the entry. False when a page number or split point is beyond the int
    // range, or the pages-per-document or size box holds no usable number; *problem then says
    // what to correct and the entry is left as it was.
    bool readInto(RowEntry& entry, int zone, QString* problem) const;

    // The file the row's page pictures come from (the decrypted copy of a protected input), set
    // once its pages are counted.
    void setPageSource(const QString& pdf);
    QString pageSource() const { return m_pageSource; }
    RowThumbnail* thumbnail() const { return m_thumbnail; }
    // The page picker's button; shown for the zones whose rows choose pages.
    void showPickButton(bool show);
    // What the picker starts from and writes back.
    bool pageRange(int& from, int& to) const;
    std::vector<int> splitPoints() const;
    // The bookmark level when the row splits at bookmarks, else 0.
    int bookmarkLevel() const;
    // The split points go into the list box, and the row splits at points from then on.
    void setSplitPoints(const std::vector<int>& points);

signals:
    void removeRequested(FileRowWidget* row);
    void openRequested(FileRowWidget* row);
    void pickRequested(FileRowWidget* row);

protected:
    void changeEvent(QEvent* event) override;

private:
    template <class Form> void bindParts(Form& ui);
    void setupWithPage();
    void setupSplit();
    void connectParts();
    void showSplitEditor(int comboIndex);
    void addPageParts(QHBoxLayout* columns, QHBoxLayout* operations);
    void addSizeBox();
    // The texts of the parts made here rather than by the forms.
    void retranslateOwnParts();

    const Template m_template;
    std::unique_ptr<Ui::FileRowWidgetWithPage> m_withPageUi;
    std::unique_ptr<Ui::FileRowWidgetSplit> m_splitUi;

    // The children both templates share, whichever form made them.
    QLabel* m_fileName = nullptr;
    QLabel* m_fileSize = nullptr;
    QLabel* m_fromFormat = nullptr;
    QLabel* m_toFormat = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_resultBox = nullptr;
    QLabel* m_resultMark = nullptr;
    QLineEdit* m_pageFrom = nullptr;
    QLineEdit* m_pageTo = nullptr;
    QWidget* m_openBox = nullptr;
    QToolButton* m_openButton = nullptr;
    QToolButton* m_removeButton = nullptr;
    RowThumbnail* m_thumbnail = nullptr;
    QToolButton* m_pickButton = nullptr;
    QString m_pageSource;
    // Split rows: the size of a split by size, in MB. Merge rows: the row read last to first.
    QWidget* m_sizeBox = nullptr;
    QLineEdit* m_sizeEdit = nullptr;
    QLabel* m_sizeUnit = nullptr;
    QCheckBox* m_reverse = nullptr;
};
