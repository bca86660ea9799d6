// The contact patterns of the feedback window, and what counts as an empty detail.

#include "user/FeedbackContact.h"

#include <gtest/gtest.h>

TEST(FeedbackContact, QqNumbersAreFiveToFifteenDigitsWithoutALeadingZero)
{
    for (const char* good : {"10000", "12345", "123456789012345", "987654321"})
        EXPECT_TRUE(FeedbackContact::isValid(FeedbackContact::QQ, good)) << good;
    for (const char* bad : {"", "1234", "01234", "1234567890123456", "12345a", " 12345", "12345\n", "１２３４５"})
        EXPECT_FALSE(FeedbackContact::isValid(FeedbackContact::QQ, bad)) << bad;
}

TEST(FeedbackContact, MailAddressesFollowTheWordDotWordAtWordDotWordShape)
{
    for (const char* good : {"a@b.c", "john.smith@mail.example.com", "john_smith@example.org", "x1@y2.z3.w4",
                             "john.@example.com"})
        EXPECT_TRUE(FeedbackContact::isValid(FeedbackContact::Email, good)) << good;
    for (const char* bad : {"", "a.b.c@example.com", "john-smith@example.com", "john@example", "john@example-x.com",
                            "@example.com", "john@.com", "john@example.com.", "名字@example.com"})
        EXPECT_FALSE(FeedbackContact::isValid(FeedbackContact::Email, bad)) << bad;
}

TEST(FeedbackContact, PhonesAreElevenDigitsStartingThirteenToNineteen)
{
    for (const char* good : {"13012345678", "19999999999", "15500000000"})
        EXPECT_TRUE(FeedbackContact::isValid(FeedbackContact::Phone, good)) << good;
    for (const char* bad : {"", "12012345678", "1301234567", "130123456789", "+8613012345678", "1301234567a"})
        EXPECT_FALSE(FeedbackContact::isValid(FeedbackContact::Phone, bad)) << bad;
    // Any other index is a phone.
    EXPECT_TRUE(FeedbackContact::isValid(7, "13012345678"));
    EXPECT_FALSE(FeedbackContact::isValid(-1, "12345"));
}

TEST(FeedbackContact, ADetailOfOnlyWhiteSpaceIsBlank)
{
    EXPECT_TRUE(FeedbackContact::isBlank(L""));
    EXPECT_TRUE(FeedbackContact::isBlank(L"   \t\n "));
    EXPECT_TRUE(FeedbackContact::isBlank(L"\u3000\u3000"));
    EXPECT_FALSE(FeedbackContact::isBlank(L"  a  "));
    EXPECT_FALSE(FeedbackContact::isBlank(L"建议"));
}
