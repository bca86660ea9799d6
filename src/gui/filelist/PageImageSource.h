#pragma once
// Page images of one PDF for the window: the requests go to korvex-render through the core's
// client, and each answer arrives on the GUI thread as a QImage (decoded on the client's
// thread, so the window never waits for a PNG). A page that cannot be drawn arrives as a null
// image; the receiver shows placeholder() for it.

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace Converter {
class PageRenderClient;
}

class PageImageSource : public QObject {
    Q_OBJECT
public:
    explicit PageImageSource(const QString& pdf, QObject* parent = nullptr);
    ~PageImageSource() override;

    void request(int page, int width);
    // Only these are wanted now; what waits for anything else is dropped.
    void replace(const std::vector<std::pair<int, int>>& requests);
    // True while the child draws; its process id then (for tests: a removed owner ends it).
    bool drawing() const;
    qint64 childPid() const;

    // A grey page of that size with a crossed frame.
    static QImage placeholder(const QSize& size);

signals:
    void imageReady(int page, int width, const QImage& image);

private:
    std::unique_ptr<Converter::PageRenderClient> m_client;
};
