#include "notch/NotchMotion.h"

#include <gtest/gtest.h>

using Profile = NotchMotion::Profile;

TEST(NotchMotion, GeometryAnimatesByProfileUnlessReducedOrFromTheKeyboard)
{
    EXPECT_EQ(NotchMotion::geometryAnimation(Profile::entrance, false, false), NotchMotion::entrance);
    EXPECT_EQ(NotchMotion::geometryAnimation(Profile::morph, false, false), NotchMotion::morph);
    EXPECT_EQ(NotchMotion::geometryAnimation(Profile::instant, false, false), std::nullopt);
    for (const Profile profile : {Profile::instant, Profile::entrance, Profile::morph}) {
        EXPECT_EQ(NotchMotion::geometryAnimation(profile, true, false), std::nullopt);
        EXPECT_EQ(NotchMotion::geometryAnimation(profile, false, true), std::nullopt);
    }
}

TEST(NotchMotion, FeedbackKeepsFadesUnderReduceMotion)
{
    EXPECT_EQ(NotchMotion::feedbackAnimation(true, false, false), NotchMotion::feedback);
    EXPECT_EQ(NotchMotion::feedbackAnimation(true, true, false), std::nullopt);
    EXPECT_EQ(NotchMotion::feedbackAnimation(false, true, false), NotchMotion::feedback);
    EXPECT_EQ(NotchMotion::feedbackAnimation(false, false, true), std::nullopt);

    EXPECT_EQ(NotchMotion::listReaderSwitch(true), NotchMotion::reducedFade);
    EXPECT_EQ(NotchMotion::listReaderSwitch(false), NotchMotion::feedback);
}

namespace {

// The inbox's side of the profile rules: each field's setter applies its rule only on a real change.
struct ProfiledInbox
{
    Profile geometryProfile = Profile::entrance;
    bool expanded = false;
    int selectedID = 0;
    bool readerTucked = false;

    void setExpanded(bool value)
    {
        if (value == expanded)
            return;
        expanded = value;
        geometryProfile = NotchMotion::profileForExpandedChange();
    }
    void setSelectedID(int value)
    {
        if (value == selectedID)
            return;
        selectedID = value;
        readerTucked = false;
        geometryProfile = NotchMotion::profileForSelectionChange(expanded);
    }
    void setReaderTucked(bool value)
    {
        if (value == readerTucked)
            return;
        readerTucked = value;
        geometryProfile = NotchMotion::profileForReaderTuckedChange(expanded);
    }
    void close()
    {
        setSelectedID(0);
        setExpanded(false);
    }
};

} // namespace

TEST(NotchMotion, OpenListMorphsIntoTheReaderAndCollapsesWithTheEntranceCurve)
{
    ProfiledInbox inbox;
    inbox.setExpanded(true);
    EXPECT_EQ(inbox.geometryProfile, Profile::entrance);
    inbox.setSelectedID(7);
    EXPECT_EQ(inbox.geometryProfile, Profile::morph);
    inbox.setReaderTucked(true);
    EXPECT_EQ(inbox.geometryProfile, Profile::morph);

    inbox.close();
    EXPECT_EQ(inbox.geometryProfile, Profile::entrance);

    // Selecting while collapsed (the shell opens right after) uses the entrance curve.
    inbox.setSelectedID(8);
    EXPECT_EQ(inbox.geometryProfile, Profile::entrance);
    EXPECT_EQ(NotchMotion::profileForReaderTuckedChange(false), Profile::entrance);
}
