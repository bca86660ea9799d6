#include "gui/filelist/PageImageSource.h"

#include "core/converter/PageRenderClient.h"
#include "gui/common/QtText.h"

#include <QMetaObject>
#include <QPainter>
#include <QPointer>

PageImageSource::PageImageSource(const QString& pdf, QObject* parent) : QObject(parent)
{
    QPointer<PageImageSource> self(this);
    m_client = std::make_unique<Converter::PageRenderClient>(
        fromQt(pdf), [self](const Converter::PageRenderClient::Image& drawn) {
            QImage image;
            if (!drawn.file.empty())
                image.load(QString::fromStdString(drawn.file), "PNG");
            // Queued: the GUI thread takes it; a source gone by then drops it (the destructor
            // waits for this thread, so self is not read after it).
            QMetaObject::invokeMethod(
                self.data(),
                [self, page = drawn.page, width = drawn.width, image] {
                    if (self)
                        emit self->imageReady(page, width, image);
                },
                Qt::QueuedConnection);
        });
}

PageImageSource::~PageImageSource() = default;

void PageImageSource::request(int page, int width)
{
    m_client->request(page, width);
}

void PageImageSource::replace(const std::vector<std::pair<int, int>>& requests)
{
    m_client->replace(requests);
}

bool PageImageSource::drawing() const
{
    return m_client->drawing();
}

qint64 PageImageSource::childPid() const
{
    return m_client->childPid();
}

QImage PageImageSource::placeholder(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xd9, 0xd9, 0xd9));
    QPainter painter(&image);
    painter.setPen(QColor(0xa6, 0xa6, 0xa6));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(size.width() - 1, 0, 0, size.height() - 1);
    return image;
}
