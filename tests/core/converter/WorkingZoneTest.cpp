// The zone table against the places that act on it: list names lead back to their zone, the
// factory builds each zone's operation, and output names carry the zone's suffix.

#include "core/converter/WorkingZone.h"
#include "core/app/Glossary.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/OutputNameClaims.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"

#include <gtest/gtest.h>

using Converter::PdfHandleParameter;

TEST(WorkingZone, EveryPdfZoneRoundTripsThroughItsListAndFactory)
{
    for (int zone = WorkingZone::kFirst; zone <= WorkingZone::kLast; ++zone) {
        const WorkingZone::Info* info = WorkingZone::info(zone);
        ASSERT_NE(info, nullptr) << zone;
        EXPECT_EQ(info->zone, zone);
        EXPECT_EQ(WorkingZone::ofList(info->listName), zone);
        EXPECT_EQ(Converter::ConverterFactory::kindOfZone(zone), info->converterKind);
        auto parameter = std::dynamic_pointer_cast<PdfHandleParameter>(Converter::createParameter(zone));
        ASSERT_TRUE(parameter) << zone;
        EXPECT_EQ(parameter->type(), info->operation);
        EXPECT_NE(Converter::createConverter(zone), nullptr);
    }
    EXPECT_EQ(WorkingZone::info(WorkingZone::Merge)->operation, PdfHandleParameter::Merge);
    EXPECT_EQ(WorkingZone::info(WorkingZone::Split)->rowForm, WorkingZone::RowForm::Split);
    EXPECT_EQ(WorkingZone::info(WorkingZone::Extract)->rowForm, WorkingZone::RowForm::WithPage);
}

TEST(WorkingZone, OtherZonesAndListsAreNotPdfZones)
{
    for (int zone : {-1, 0, 8, 14, 17, 18}) {
        EXPECT_FALSE(WorkingZone::isPdf(zone)) << zone;
        EXPECT_EQ(WorkingZone::info(zone), nullptr) << zone;
        EXPECT_EQ(Converter::createParameter(zone), nullptr) << zone;
        EXPECT_TRUE(Converter::makeOutputPath(zone, L"/in/a.pdf", L"pdf", L"/out").empty()) << zone;
    }
    EXPECT_EQ(WorkingZone::ofList(L"historylst"), -1);
    EXPECT_EQ(WorkingZone::ofList(L""), -1);
}

TEST(WorkingZone, OutputNamesFollowTheTable)
{
    const int language = Glossary::currentLanguage();
    Glossary::setCurrentLanguage(Glossary::ENGLSH);
    EXPECT_EQ(Converter::makeOutputPath(WorkingZone::Merge, L"/in/a.pdf", L"pdf", L"/out"), L"/out/a_Merged.pdf");
    EXPECT_EQ(Converter::makeOutputPath(WorkingZone::Extract, L"/in/a.pdf", L"pdf", L"/out"), L"/out/a_EXTRACT.pdf");
    EXPECT_EQ(Converter::makeOutputPath(WorkingZone::Split, L"/in/a.pdf", L"pdf", L"/out"), L"/out/a");
    Glossary::setCurrentLanguage(language);
}

TEST(WorkingZone, ClaimedOutputsLoseTrailingSpacesAndSplitFoldersKeepTheirDots)
{
    Converter::OutputNameClaims claims;
    EXPECT_EQ(claims.claimOutput(L"/o/x_Compress.pdf  ", WorkingZone::Compress), L"/o/x_Compress.pdf");
    EXPECT_EQ(claims.claimOutput(L"/o/x_Compress.pdf", WorkingZone::Compress), L"/o/x_Compress (2).pdf");
    EXPECT_EQ(claims.claimOutput(L"/o/v1.2 ", WorkingZone::Split), L"/o/v1.2");
    EXPECT_EQ(claims.claimOutput(L"/o/v1.2", WorkingZone::Split), L"/o/v1.2 (2)");
}
