#include "records/RecordIdentity.h"
#include "records/RecordText.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

TEST(RecordIdentity, IsTheFirstSixteenBytesOfTheIdsSha256)
{
    // The bytes are used unchanged, without version or variant bits.
    const QByteArray digest = QCryptographicHash::hash("rec-1", QCryptographicHash::Sha256);
    EXPECT_EQ(RecordIdentity::localID("rec-1"), QUuid::fromRfc4122(digest.first(16)));
    EXPECT_EQ(RecordIdentity::localID("rec-1"), RecordIdentity::localID(std::string("rec-1")));
    EXPECT_NE(RecordIdentity::localID("rec-1"), RecordIdentity::localID("rec-2"));
}

TEST(RecordText, DecodesUtf8AndReplacesInvalidSequences)
{
    EXPECT_EQ(RecordText::fromUtf8("Z\xC3\xBCrich"), QStringView(u"Z\u00FCrich").toString());
    EXPECT_EQ(RecordText::fromUtf8(std::string_view("a\0b", 3)), QStringView(u"a\0b", 3).toString());
    EXPECT_EQ(RecordText::fromUtf8("\xFF"), QString(QChar::ReplacementCharacter));
    EXPECT_TRUE(RecordText::fromUtf8({}).isEmpty());
}
