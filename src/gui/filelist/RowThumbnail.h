#pragma once
// The small picture of a page at the front of a file row: the first page of the file, or of the
// row's range. Its renderer lives only while a picture is being drawn, and only when the window's
// shared queue gives the row a turn, so a long list holds neither idle nor hundreds of children;
// a removed row leaves the queue and takes its renderer, and the child, with it.

#include <QLabel>
#include <QString>

class PageImageSource;

class RowThumbnail : public QLabel {
    Q_OBJECT
public:
    static constexpr int kWidth = 34;
    static constexpr int kHeight = 44;

    explicit RowThumbnail(QWidget* parent = nullptr);
    ~RowThumbnail() override;

    // The file the pictures come from (a decrypted copy for a protected input); page 1 is drawn.
    void setDocument(const QString& pdf);
    // Draws that page (from 1) instead; nothing changes for a page below 1 or the one shown.
    void showPage(int page);

    int shownPage() const { return m_page; }
    // For tests: true while a child draws this row's picture.
    bool drawing() const;
    qint64 childPid() const;

private:
    QObject* startSource();
    void onImage(int page, int width, const QImage& image);

    QString m_pdf;
    int m_page = 0;
    PageImageSource* m_source = nullptr;
};
