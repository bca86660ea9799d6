#include "gui/filelist/RowThumbnail.h"

#include "gui/filelist/PageImageSource.h"
#include "gui/filelist/ThumbnailQueue.h"

#include <QPixmap>

RowThumbnail::RowThumbnail(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("rowthumbnail"));
    setFixedSize(kWidth, kHeight);
    setAlignment(Qt::AlignCenter);
    setProperty("thumbnailState", QStringLiteral("empty"));
}

RowThumbnail::~RowThumbnail()
{
    // A turn held ends with m_source, a child of this label.
    ThumbnailQueue::shared().withdraw(this);
}

void RowThumbnail::setDocument(const QString& pdf)
{
    if (pdf == m_pdf)
        return;
    m_pdf = pdf;
    m_page = 0;
    delete m_source;
    m_source = nullptr;
    ThumbnailQueue::shared().withdraw(this);
    showPage(1);
}

void RowThumbnail::showPage(int page)
{
    if (m_pdf.isEmpty() || page < 1 || page == m_page)
        return;
    m_page = page;
    setProperty("thumbnailState", QStringLiteral("waiting"));
    if (m_source) {
        m_source->replace({{page, kWidth * 2}});
        return;
    }
    // Drawn when the window's rows give this one a turn; the page asked for then is drawn.
    ThumbnailQueue::shared().enqueue(this, [this]() -> QObject* { return startSource(); });
}

QObject* RowThumbnail::startSource()
{
    if (m_source || m_pdf.isEmpty() || m_page < 1)
        return nullptr;
    m_source = new PageImageSource(m_pdf, this);
    connect(m_source, &PageImageSource::imageReady, this, &RowThumbnail::onImage);
    // Twice the size, for sharp pictures on a high-density screen.
    m_source->replace({{m_page, kWidth * 2}});
    return m_source;
}

bool RowThumbnail::drawing() const
{
    return m_source && m_source->drawing();
}

qint64 RowThumbnail::childPid() const
{
    return m_source ? m_source->childPid() : 0;
}

void RowThumbnail::onImage(int page, int, const QImage& image)
{
    if (page != m_page)
        return;
    const QSize box(kWidth, kHeight);
    if (image.isNull()) {
        setPixmap(QPixmap::fromImage(PageImageSource::placeholder(box)));
        setProperty("thumbnailState", QStringLiteral("placeholder"));
    } else {
        QPixmap pixmap = QPixmap::fromImage(image.scaled(box * devicePixelRatioF(), Qt::KeepAspectRatio,
                                                         Qt::SmoothTransformation));
        pixmap.setDevicePixelRatio(devicePixelRatioF());
        setPixmap(pixmap);
        setProperty("thumbnailState", QStringLiteral("image"));
    }
    // Nothing more to draw: the child and its thread go until the range changes.
    m_source->deleteLater();
    m_source = nullptr;
}
