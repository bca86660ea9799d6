// Drives the page picker offscreen over one PDF and prints, one "key value" a line:
//   pages               the file's pages (as the renderer counts them)
//   first_screen_ms     from opening the picker to its first screen of pictures painted
//   to_last_ms          from a fast drag of the scroll bar, top to bottom in 60 steps without
//                       waiting, to the last screen painted
//   jump_ms             from a jump to the middle (a click in the scroll bar's groove) to that
//                       screen painted
//   held_images         pictures the picker holds at the end (its bound: 240)
//   window_before_mib   resident memory of this process before the picker opened
//   window_extra_mib    its peak while the picker ran, above that
//   renderer_peak_mib   the largest peak of any renderer child
//
//   korvex-picker-bench FILE.pdf

#include "core/common/Utils.h"
#include "core/converter/PageRenderClient.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/filelist/RowThumbnail.h"
#include "gui/picker/PageGridModel.h"
#include "gui/picker/PagePickerDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>

#include <sys/resource.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <string>

namespace {

// A field of /proc/self/status in KiB.
long statusKib(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return 0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

bool waitFor(const std::function<bool()>& done, int limitMs = 600000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    // The images that arrived are painted in this pass.
    QApplication::processEvents();
    return true;
}

// Every page on the grid's screen has its picture or its placeholder.
bool screenSettled(QListView* grid, PageGridModel* model)
{
    const QRect area = grid->viewport()->rect();
    const QModelIndex first = grid->indexAt(area.topLeft() + QPoint(1, 1));
    if (!first.isValid())
        return false;
    QModelIndex last = grid->indexAt(area.bottomRight() - QPoint(1, 1));
    const int end = last.isValid() ? last.row() : model->rowCount() - 1;
    for (int row = first.row(); row <= end; ++row) {
        const QRect cell = grid->visualRect(model->index(row));
        if (!cell.intersects(area))
            continue;
        if (model->data(model->index(row), PageGridModel::StateRole).toInt() == PageGridModel::Waiting)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: korvex-picker-bench FILE.pdf\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string pdf = argv[1];
    const Converter::PageRenderClient::Info info = Converter::PageRenderClient::info(Utils::utf8ToWide(pdf));
    if (!info.ok || info.pageCount < 1) {
        std::cerr << pdf << ": no pages\n";
        return 1;
    }
    FileRowWidget row(FileRowWidget::WithPage);
    row.fill(Utils::utf8ToWide(pdf), 0);
    row.setPageRange(1, info.pageCount);
    row.setPageSource(QString::fromStdString(pdf));
    row.show();
    // The row's own picture first, so that its child does not run beside the picker's.
    waitFor([&] { return row.thumbnail()->property("thumbnailState") != QStringLiteral("waiting"); });

    const long before = statusKib("VmRSS");
    resetPeak();
    QElapsedTimer clock;
    clock.start();
    PagePickerDialog picker(row, info.pageCount);
    picker.resize(860, 640);
    picker.show();
    QListView* grid = picker.grid();
    PageGridModel* model = picker.model();
    if (!waitFor([&] { return screenSettled(grid, model); }))
        return 1;
    const qint64 firstScreen = clock.elapsed();

    clock.restart();
    QScrollBar* bar = grid->verticalScrollBar();
    for (int step = 1; step <= 60; ++step) {
        bar->setValue(bar->maximum() * step / 60);
        QApplication::processEvents();
    }
    if (!waitFor([&] { return screenSettled(grid, model); }))
        return 1;
    const qint64 toLast = clock.elapsed();

    clock.restart();
    bar->setValue(bar->maximum() / 2);
    if (!waitFor([&] { return screenSettled(grid, model); }))
        return 1;
    const qint64 jump = clock.elapsed();

    const long peak = statusKib("VmHWM");
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    std::cout << "pages " << info.pageCount << "\n"
              << "first_screen_ms " << firstScreen << "\n"
              << "to_last_ms " << toLast << "\n"
              << "jump_ms " << jump << "\n"
              << "held_images " << model->heldImages() << "\n"
              << "window_before_mib " << before / 1024 << "\n"
              << "window_extra_mib " << (peak - before) / 1024 << "\n"
              << "renderer_peak_mib " << children.ru_maxrss / 1024 << "\n";
    return 0;
}
