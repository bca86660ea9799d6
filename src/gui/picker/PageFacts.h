#pragma once
// What the picker shows besides the images: the page labels and, for a row that splits at
// bookmarks, the first page of each bookmark of its level. Both come from short runs of our
// child programs on a thread of their own; the answer arrives on the GUI thread, and closing
// the picker first ends whatever still runs.

#include "core/converter/ProcessSlot.h"

#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <thread>
#include <vector>

class PageFacts : public QObject {
    Q_OBJECT
public:
    // level 0: no bookmark starts are looked up.
    PageFacts(const QString& pdf, int level, QObject* parent = nullptr);
    ~PageFacts() override;

signals:
    void labelsKnown(const std::map<int, std::string>& labels);
    void bookmarkStartsKnown(const std::vector<int>& starts);

private:
    Converter::ProcessSlot m_slot;
    std::thread m_thread;
};
