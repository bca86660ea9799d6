// Output names are claimed against the files the user added, not against the private
// decrypted copies a run reads from, so no output replaces an encrypted input.

#include "core/app/Glossary.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/network/RequestRunner.h"
#include "core/tasks/ConversionTasks.h"
#include "core/tasks/RowRegistry.h"
#include "core/user/User.h"
#include "support/PdfFactory.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(OriginalPathClaims, AnOutputNeverReplacesAnEncryptedInputOfTheRun)
{
    TempDir dir;
    // Statistics requests go to a closed loopback port.
    User user(dir.wide("config"), "http://127.0.0.1:1");
    user.setLanguage(Glossary::ENGLSH);
    user.setSavePath(dir.file("out").string());
    fs::create_directories(dir.file("out"));
    ScopedRecordingSink sink;

    // The user's own file in the output folder, encrypted (it opens without a password), and a
    // plain file whose compressed output takes that very name.
    PdfFactory::write(dir.file("plain.pdf"), 4);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("plain.pdf"), dir.file("out/x_Compress.pdf"), ""));
    PdfFactory::write(dir.file("x.pdf"), 3);

    constexpr int kZone = 10;
    auto registry = std::make_shared<RowRegistry>();
    registry->append(1, RowEntry(dir.wide("out/x_Compress.pdf"), kZone));
    registry->append(2, RowEntry(dir.wide("x.pdf"), kZone));
    ConversionTasks::inspectFiles(registry, 7, kZone);
    ASSERT_TRUE(Converter::PrivateTempFolder::instance().contains(registry->copy(1)->path));
    for (const RowId row : {1, 2}) {
        registry->withRow(row, [](RowEntry& e) {
            e.fromPage = 1;
            e.toPage = e.pageCount;
        });
    }
    ConversionTasks::dispatchConversion(Converter::createConverter(kZone), Converter::createParameter(kZone),
                                        ConversionTasks::createCallback(kZone, 7, registry), kZone, 7,
                                        L"pdfcompress_lst", registry);
    Network::RequestRunner::instance().waitForAll();

    EXPECT_TRUE(PdfFactory::isEncrypted(dir.file("out/x_Compress.pdf")));
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/x_Compress.pdf")), 4);
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/x_Compress (2).pdf")), 3);
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/x_Compress_Compress.pdf")), 4);
}
