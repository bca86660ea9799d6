#include "core/tasks/ConversionTasks.h"
#include "core/app/Glossary.h"
#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/network/RequestRunner.h"
#include "core/tasks/RowRegistry.h"
#include "core/tasks/TaskPayloads.h"
#include "core/user/User.h"
#include "support/LocalHttpServer.h"
#include "support/PdfFactory.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <set>
#include <thread>

using namespace WindowMessages;

namespace {

constexpr WindowHandle kWindow = 3;

class Tasks : public testing::Test {
protected:
    void SetUp() override
    {
        http.server().Get("/index.php", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.get_param_value("type") == "ConvertStatistics" && req.get_param_value("convert_type") == "9")
                ++statistics;
            res.set_content("{\"success\":true}", "application/json");
        });
        http.start();
        user = std::make_unique<User>(dir.wide("config"), http.base());
        user->setSavePath((dir.path() / "out").string());
        user->setLanguage(Glossary::ENGLSH);
    }
    void TearDown() override { Network::RequestRunner::instance().waitForAll(); }

    std::wstring pdf(const std::string& name, int pages)
    {
        PdfFactory::write(dir.file(name), pages);
        return dir.wide(name);
    }
    RowId add(const std::wstring& path, int zone)
    {
        const RowId row = ++lastRow;
        registry->append(row, RowEntry(path, zone));
        return row;
    }
    // Marks a row as the window does at the start of a run.
    void ready(RowId row, int from, int to)
    {
        registry->withRow(row, [&](RowEntry& e) {
            e.inspected = true;
            e.fromPage = from;
            e.toPage = to;
        });
    }
    void inspect(int zone) { ConversionTasks::inspectFiles(registry, kWindow, zone); }
    void convert(int zone, const std::wstring& list)
    {
        ConversionTasks::dispatchConversion(Converter::createConverter(zone), Converter::createParameter(zone),
                                            ConversionTasks::createCallback(zone, kWindow, registry), zone, kWindow,
                                            list, registry);
    }
    std::vector<int> steps(RowId row) const
    {
        std::vector<int> found;
        for (const auto& m : sink->messages())
            if (m.message == WM_FILE_CHECK_STATUS && m.as<RowPayload>()->row == row)
                found.push_back(static_cast<int>(m.wParam));
        return found;
    }
    std::vector<std::wstring> rowTexts(RowId row) const
    {
        std::vector<std::wstring> found;
        for (const auto& m : sink->messages())
            if (m.message == WM_UI_NOTIFY && m.wParam == kRowTextNotify && m.as<RowText>()->row == row)
                found.push_back(m.as<RowText>()->text);
        return found;
    }
    std::vector<const FileResult*> results() const
    {
        std::vector<const FileResult*> found;
        for (const auto& m : recorded = sink->messages())
            if (m.message == WM_FILE_RESULT)
                found.push_back(m.as<FileResult>());
        return found;
    }

    TempDir dir;
    LocalHttpServer http;
    std::atomic<int> statistics{0};
    std::unique_ptr<User> user;
    ScopedRecordingSink sink;
    std::shared_ptr<RowRegistry> registry = std::make_shared<RowRegistry>();
    RowId lastRow = 100;
    mutable std::vector<RecordedMessage> recorded;
};

} // namespace

TEST_F(Tasks, InspectionCountsPagesDecryptsOpenFilesAndSkipsOtherFiles)
{
    writeFile(dir.file("notes.txt"), "hello");
    const RowId text = add(dir.wide("notes.txt"), 9);
    const RowId plain = add(pdf("plain.pdf", 7), 9);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("plain.pdf"), dir.file("locked.pdf"), ""));
    const RowId locked = add(dir.wide("locked.pdf"), 9);
    const RowId otherZone = add(pdf("other.pdf", 2), 12);
    inspect(9);

    EXPECT_TRUE(steps(text).empty());
    EXPECT_TRUE(registry->copy(text)->inspected);
    EXPECT_EQ(steps(plain), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(registry->copy(plain)->pageCount, 7);
    EXPECT_EQ(steps(locked), (std::vector<int>{0, 1, 2, 3}));
    const RowEntry decrypted = *registry->copy(locked);
    EXPECT_EQ(decrypted.pageCount, 7);
    EXPECT_TRUE(Converter::PrivateTempFolder::instance().contains(decrypted.path));
    EXPECT_EQ(Utils::getFileTitle(decrypted.path), L"locked"); // outputs keep the input's name
    EXPECT_FALSE(PdfFactory::isEncrypted(Utils::toFsPath(decrypted.path)));
    EXPECT_FALSE(registry->copy(otherZone)->inspected);
    EXPECT_EQ(sink->count(WM_FILE_CHECK_DONE, 9), 1u);
}

TEST_F(Tasks, PasswordStepWaitsForTheWindowAndGoesOnWhateverTheAnswer)
{
    PdfFactory::write(dir.file("src.pdf"), 4);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("src.pdf"), dir.file("kept.pdf"), "open sesame"));
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("src.pdf"), dir.file("dropped.pdf"), "other"));
    const RowId kept = add(dir.wide("kept.pdf"), 13);
    const RowId dropped = add(dir.wide("dropped.pdf"), 13);
    const RowId last = add(pdf("last.pdf", 3), 13);

    // The window: asks for the password when told; it knows the first and gives up on the second.
    // Each answer comes from a thread of its own, as from a prompt; they are all joined before
    // the registry and its handshake go away.
    std::mutex answersMutex;
    std::vector<std::jthread> answers;
    sink->onPost = [&](const RecordedMessage& m) {
        if (m.message != WM_FILE_CHECK_STATUS || m.wParam != InspectionStep::PasswordNeeded)
            return;
        const RowId row = m.as<RowPayload>()->row;
        std::lock_guard lock(answersMutex);
        answers.emplace_back([this, row, kept] {
            if (row == kept) {
                std::wstring output;
                if (Converter::decryptPdf(registry->copy(row)->path, output, L"open sesame", nullptr))
                    registry->withRow(row, [&](RowEntry& e) { e.path = output; });
            } else {
                registry->erase(row);
            }
            registry->passwordHandshake().answer();
        });
    };
    inspect(13);
    sink->onPost = nullptr;
    {
        std::lock_guard lock(answersMutex);
        for (std::jthread& answer : answers)
            answer.join();
        EXPECT_EQ(answers.size(), 2u);
    }
    EXPECT_EQ(steps(kept), (std::vector<int>{0, 1, 4, 2, 3}));
    EXPECT_EQ(registry->copy(kept)->pageCount, 4);
    EXPECT_EQ(steps(dropped), (std::vector<int>{0, 1, 4}));
    EXPECT_FALSE(registry->isRegistered(dropped));
    EXPECT_EQ(steps(last), (std::vector<int>{0, 2, 3}));
}

TEST_F(Tasks, AnAnswerGivenBeforeTheWorkerWaitsIsNotLost)
{
    PasswordHandshake handshake;
    handshake.answer();
    EXPECT_TRUE(handshake.waitForAnswer());
    std::thread late([&] { handshake.answer(); });
    EXPECT_TRUE(handshake.waitForAnswer());
    late.join();
    handshake.stop();
    EXPECT_FALSE(handshake.waitForAnswer());
}

TEST_F(Tasks, MergeReportsOneResultPerRowWithTheSameOutput)
{
    const RowId a = add(pdf("alpha.pdf", 3), 12);
    const RowId b = add(pdf("beta.pdf", 2), 12);
    const RowId c = add(pdf("gamma.pdf", 4), 12);
    ready(a, 2, 3);
    ready(b, 1, 2);
    ready(c, 4, 4);
    convert(12, L"pdfmerge_lst");

    const auto found = results();
    ASSERT_EQ(found.size(), 3u);
    for (const FileResult* result : found) {
        EXPECT_TRUE(result->ok);
        EXPECT_EQ(result->listName, L"pdfmerge");
        EXPECT_EQ(result->outputPath, dir.wide("out") + L"/alpha_Merged.pdf");
    }
    EXPECT_EQ(found[0]->row, a);
    EXPECT_EQ(found[2]->row, c);
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/alpha_Merged.pdf")), (std::vector<int>{2, 3, 1, 2, 4}));
    EXPECT_EQ(rowTexts(b), std::vector<std::wstring>{L"Merging PDF"});
    RecordedMessage finished;
    ASSERT_TRUE(sink->waitForMessage(WM_RUN_FINISHED, 12, &finished));
    EXPECT_EQ(finished.as<NotifyNumber>()->value, 4);
    EXPECT_EQ(sink->count(WM_RUN_FINISHED), 1u);
    Network::RequestRunner::instance().waitForAll();
    EXPECT_EQ(statistics.load(), 1);
}

TEST_F(Tasks, SplitProgressNamesEachPieceAndTheResultNamesTheFolder)
{
    const RowId row = add(pdf("report.pdf", 100), 13);
    ready(row, 1, 100);
    registry->withRow(row, [](RowEntry& e) {
        e.pageCount = 100;
        e.splitMode = 1;
        e.pagesPerPiece = 30;
    });
    convert(13, L"pdfsplit_lst");
    EXPECT_EQ(rowTexts(row), (std::vector<std::wstring>{L"Spliting PDF", L"Splitting Page 30 / 100",
                                                        L"Splitting Page 60 / 100", L"Splitting Page 90 / 100",
                                                        L"Splitting Page 100 / 100"}));
    ASSERT_EQ(results().size(), 1u);
    EXPECT_TRUE(results()[0]->ok);
    EXPECT_EQ(results()[0]->outputPath, dir.wide("out") + L"/report");
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/report/report_91_100.pdf")).size(), 10u);
    EXPECT_EQ(sink->count(WM_RUN_FINISHED, 13), 1u);
    EXPECT_FALSE(registry->copy(row)->pending);
}

TEST_F(Tasks, ARowRemovedDuringItsConversionGetsNoResultAndTheRunGoesOn)
{
    const RowId first = add(pdf("one.pdf", 2), 10);
    const RowId second = add(pdf("two.pdf", 2), 10);
    writeFile(dir.file("broken.pdf"), "not a pdf at all");
    const RowId broken = add(dir.wide("broken.pdf"), 10);
    for (RowId row : {first, second, broken})
        ready(row, 1, 2);
    sink->onPost = [&](const RecordedMessage& m) {
        if (m.message == WM_UI_NOTIFY && m.wParam == kRowTextNotify && m.as<RowText>()->row == first)
            registry->erase(first); // the user removes the row as its job starts
    };
    convert(10, L"pdfcompress_lst");
    const auto found = results();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->row, second);
    EXPECT_TRUE(found[0]->ok);
    EXPECT_EQ(found[0]->outputPath, dir.wide("out") + L"/two_Compress.pdf");
    EXPECT_EQ(found[1]->row, broken);
    EXPECT_FALSE(found[1]->ok);
    EXPECT_EQ(found[1]->error.code, 201);
    EXPECT_EQ(found[1]->error.message, dir.wide("broken.pdf"));
    EXPECT_EQ(sink->count(WM_RUN_FINISHED, 10), 1u);
    Network::RequestRunner::instance().waitForAll();
    EXPECT_EQ(statistics.load(), 3); // every finished job counts, whatever its result
}

TEST_F(Tasks, RegistryMovesRowsWithinTheirZone)
{
    const RowId a = add(L"/a.pdf", 12);
    const RowId x = add(L"/x.pdf", 9);
    const RowId b = add(L"/b.pdf", 12);
    const RowId c = add(L"/c.pdf", 12);
    EXPECT_TRUE(registry->move(c, 12, 0));
    auto order = [&] {
        std::vector<RowId> ids;
        for (const auto& [row, entry] : registry->rowsOfZone(12))
            ids.push_back(row);
        return ids;
    };
    EXPECT_EQ(order(), (std::vector<RowId>{c, a, b}));
    EXPECT_TRUE(registry->move(c, 12, 2));
    EXPECT_EQ(order(), (std::vector<RowId>{a, b, c}));
    EXPECT_FALSE(registry->move(a, 12, 0));  // same place
    EXPECT_FALSE(registry->move(a, 12, 7));  // no such index
    EXPECT_FALSE(registry->move(999, 12, 1)); // no such row
    EXPECT_TRUE(registry->isRegistered(x));
    registry->eraseZone(12);
    EXPECT_TRUE(registry->rowsOfZone(12).empty());
    EXPECT_TRUE(registry->isRegistered(x));
    EXPECT_THROW(registry->slot(21), std::out_of_range);
}

TEST_F(Tasks, AFileThatIsNotAPdfIsNotAskedForAPassword)
{
    writeFile(dir.file("fake.pdf"), "just text with a pdf name");
    const RowId fake = add(dir.wide("fake.pdf"), 10);
    inspect(10);
    const std::vector<int> found = steps(fake);
    EXPECT_EQ(std::count(found.begin(), found.end(), InspectionStep::PasswordNeeded), 0);
    EXPECT_EQ(found.back(), InspectionStep::PageCountStored);
    EXPECT_EQ(registry->copy(fake)->pageCount, -1);
}

namespace {

// Every file under the private folder now.
std::set<std::filesystem::path> privateFiles()
{
    std::set<std::filesystem::path> found;
    std::error_code ec;
    const std::filesystem::path root = Utils::toFsPath(Converter::PrivateTempFolder::instance().folder());
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file())
            found.insert(it->path());
    return found;
}

} // namespace

TEST_F(Tasks, ACopyDecryptedForARowRemovedMeanwhileIsRemovedAtOnce)
{
    PdfFactory::write(dir.file("src.pdf"), 3);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("src.pdf"), dir.file("gone.pdf"), ""));
    const RowId gone = add(dir.wide("gone.pdf"), 11);
    const RowId next = add(pdf("next.pdf", 2), 11);
    const auto before = privateFiles();
    sink->onPost = [&](const RecordedMessage& m) {
        if (m.message == WM_FILE_CHECK_STATUS && m.wParam == InspectionStep::Decrypting)
            registry->erase(m.as<RowPayload>()->row); // the user removes the row as qpdf starts
    };
    inspect(11);
    sink->onPost = nullptr;
    EXPECT_EQ(steps(gone), (std::vector<int>{0, 1}));
    EXPECT_EQ(privateFiles(), before); // no copy waits for the end of the run
    EXPECT_EQ(registry->copy(next)->pageCount, 2);
}

TEST_F(Tasks, AMergeNamesItsOutputWithoutHoldingTheRegistry)
{
    // The save folder cannot be made (a file stands in its way): naming the output files an
    // error report, which must be free to look at the rows, as the window may meanwhile.
    writeFile(dir.file("blocker"), "");
    user->setSavePath((dir.path() / "blocker" / "out").string());
    const RowId a = add(pdf("alpha.pdf", 2), 12);
    ready(a, 1, 2);
    std::vector<std::future<bool>> probes;
    std::vector<bool> registryFree;
    Diagnostics::instance().setReportSink([&](const std::string&) {
        probes.push_back(std::async(std::launch::async, [this, a] { return registry->isRegistered(a); }));
        // Bounds only a failure: a lock held by this very thread would never come free.
        registryFree.push_back(probes.back().wait_for(std::chrono::seconds(20)) == std::future_status::ready);
    });
    convert(12, L"pdfmerge_lst");
    Diagnostics::instance().setReportSink(nullptr);
    ASSERT_FALSE(registryFree.empty());
    for (bool free : registryFree)
        EXPECT_TRUE(free);
    for (auto& probe : probes)
        EXPECT_TRUE(probe.get());
    ASSERT_EQ(results().size(), 1u);
    EXPECT_FALSE(results()[0]->ok);
}

TEST_F(Tasks, AMergeAskedToStopBeforeItStartsWritesNothing)
{
    const RowId a = add(pdf("alpha.pdf", 3), 12);
    const RowId b = add(pdf("beta.pdf", 2), 12);
    ready(a, 1, 3);
    ready(b, 1, 2);
    registry->requestStop();
    convert(12, L"pdfmerge_lst");
    EXPECT_TRUE(results().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/alpha_Merged.pdf")));
    EXPECT_EQ(sink->count(WM_RUN_FINISHED, 12), 1u);
}
