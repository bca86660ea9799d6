// korvex-pdf-cli and the output folder it is given: names planted there by someone else, and
// what runs that were killed left behind.

#include "CliRun.h"
#include "core/converter/ChildProcess.h"
#include "support/LinkedSplitFolder.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Converter::ChildProcess;

namespace {

CliRun cli(const TempDir& dir, const std::vector<std::string>& args)
{
    return runProgram(KORVEX_CLI_PATH, args, dir.path());
}

// The id of a process that has ended (and been reaped).
pid_t endedPid()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

std::string part(pid_t pid)
{
    return ".korvex-" + std::to_string(pid) + "-3-00000000abcd.part";
}

std::string work(pid_t pid)
{
    return ".korvex-split-" + std::to_string(pid) + "-Ab12Cd";
}

} // namespace

TEST(CliOutputFolder, SplitFolderThatIsASymbolicLinkIsRefusedAndItsTargetUntouched)
{
    TempDir dir;
    PdfFactory::write(dir.file("a.pdf"), 3);
    plantLinkedSplitFolder(dir, "someone else's file");

    for (const std::string mode : {"--every", "--at"}) {
        const CliRun run = cli(dir, {"split", "a.pdf", mode, mode == std::string("--every") ? "1" : "2", "--out", "out"});
        EXPECT_EQ(run.exitCode, 1) << mode;
        EXPECT_NE(run.err.find("symbolic link"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(readFile(dir.file("elsewhere/a_1_1.pdf")), "someone else's file");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.file("elsewhere")))
        ++entries;
    EXPECT_EQ(entries, 1);
    EXPECT_TRUE(fs::is_symlink(dir.file("out/a")));

    // A plain file in place of the folder is refused too; a real folder works as before,
    // a link among its pieces is replaced, not what it names.
    fs::create_directories(dir.file("out2"));
    writeFile(dir.file("out2/a"), "x");
    EXPECT_EQ(cli(dir, {"split", "a.pdf", "--every", "1", "--out", "out2"}).exitCode, 1);
    EXPECT_EQ(readFile(dir.file("out2/a")), "x");
    fs::create_directories(dir.file("out3/a"));
    fs::create_symlink(dir.file("elsewhere/a_1_1.pdf"), dir.file("out3/a/a_1_1.pdf"));
    const CliRun ok = cli(dir, {"split", "a.pdf", "--every", "1", "--out", "out3"});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_FALSE(fs::is_symlink(dir.file("out3/a/a_1_1.pdf")));
    EXPECT_TRUE(fs::is_regular_file(dir.file("out3/a/a_3_3.pdf")));
    EXPECT_EQ(readFile(dir.file("elsewhere/a_1_1.pdf")), "someone else's file");
}

TEST(CliOutputFolder, LeftoversOfEndedRunsGoAndThoseOfRunningOnesStay)
{
    TempDir dir;
    PdfFactory::write(dir.file("a.pdf"), 3);
    const pid_t ended = endedPid();
    const pid_t running = ::getpid(); // this test, alive while the program runs
    for (const std::string folder : {"out", "out/a"}) {
        fs::create_directories(dir.file(folder));
        writeFile(dir.file(folder + "/" + part(ended)), "half a piece");
        writeFile(dir.file(folder + "/" + part(running)), "being written");
        fs::create_directories(dir.file(folder + "/" + work(ended) + "/sub"));
        writeFile(dir.file(folder + "/" + work(ended) + "/7.pdf"), "a finished piece");
        fs::create_directories(dir.file(folder + "/" + work(running)));
        // Names that only look like ours, and the older unnumbered working folders, stay.
        writeFile(dir.file(folder + "/.korvex-" + std::to_string(ended) + "-x.part"), "not ours");
        writeFile(dir.file(folder + "/.korvex-split-Ab12Cd"), "not ours");
        fs::create_symlink(dir.file("a.pdf"), dir.file(folder + "/.korvex-" + std::to_string(ended) + "-4-00000000abcd.part"));
    }

    const CliRun split = cli(dir, {"split", "a.pdf", "--every", "1", "--out", "out"});
    ASSERT_EQ(split.exitCode, 0) << split.err;
    const CliRun compress = cli(dir, {"compress", "a.pdf", "--out", "out"});
    ASSERT_EQ(compress.exitCode, 0) << compress.err;

    for (const std::string folder : {"out", "out/a"}) {
        SCOPED_TRACE(folder);
        EXPECT_FALSE(fs::exists(dir.file(folder + "/" + part(ended))));
        EXPECT_FALSE(fs::exists(dir.file(folder + "/" + work(ended))));
        EXPECT_EQ(readFile(dir.file(folder + "/" + part(running))), "being written");
        EXPECT_TRUE(fs::is_directory(dir.file(folder + "/" + work(running))));
        EXPECT_TRUE(fs::exists(dir.file(folder + "/.korvex-" + std::to_string(ended) + "-x.part")));
        EXPECT_TRUE(fs::exists(dir.file(folder + "/.korvex-split-Ab12Cd")));
        EXPECT_TRUE(fs::is_symlink(dir.file(folder + "/.korvex-" + std::to_string(ended) + "-4-00000000abcd.part")));
    }
    EXPECT_TRUE(fs::exists(dir.file("a.pdf")));
    EXPECT_TRUE(fs::is_regular_file(dir.file("out/a/a_2_2.pdf")));
}
