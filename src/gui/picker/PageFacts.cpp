#include "gui/picker/PageFacts.h"

#include "core/common/AlternateSignalStack.h"
#include "core/converter/PageRenderClient.h"
#include "core/converter/PageToolRunner.h"
#include "gui/common/QtText.h"

#include <QMetaObject>
#include <QPointer>

PageFacts::PageFacts(const QString& pdf, int level, QObject* parent) : QObject(parent)
{
    QPointer<PageFacts> self(this);
    m_thread = AlternateSignalStack::start([self, path = fromQt(pdf), level, slot = &m_slot] {
        // Queued to the GUI thread; the destructor joins this thread before self can dangle.
        const auto post = [self](auto deliver) {
            QMetaObject::invokeMethod(
                self.data(),
                [self, deliver] {
                    if (self)
                        deliver(*self);
                },
                Qt::QueuedConnection);
        };
        const Converter::PageRenderClient::Info info = Converter::PageRenderClient::info(path, slot);
        post([labels = info.labels](PageFacts& facts) { emit facts.labelsKnown(labels); });
        if (level > 0 && !slot->closed()) {
            std::vector<int> starts = Converter::PageToolRunner::bookmarkStarts(path, level, slot);
            post([starts = std::move(starts)](PageFacts& facts) { emit facts.bookmarkStartsKnown(starts); });
        }
    });
}

PageFacts::~PageFacts()
{
    m_slot.close();
    m_thread.join();
}
