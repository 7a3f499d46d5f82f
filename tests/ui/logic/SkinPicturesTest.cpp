#include <gtest/gtest.h>

#include <cstdint>

#include <algorithm>
#include <set>

#include "ui/logic/SkinCursors.h"
#include "ui/logic/SkinPictures.h"

namespace NSQuilletSkin {
namespace {

using NSQuillet::ESliceKind;

TEST(SkinPicturesTest, KnowsEveryPictureOfTheSkinTableAndNothingBesideIt) {
    const int32_t pictures[] = {11001, 11003, 13100, 13101, 13110, 13111, 13120, 13121, 17004, 17005, 17006, 17007,
                                17008, 17009, 13300, 13301, 13400, 13401, 13410, 13411, 13412, 13420, 13421, 13422,
                                14100, 14117, 14134, 14150, 14151, 14152, 14153, 16000, 16006, 16012};
    for (int32_t id : pictures) EXPECT_TRUE(IsSkinPictureId(id)) << id;
    // Neighbours of every range, the skin-image bitmap 1009 and the cursor ids are not pictures.
    const int32_t others[] = {0,     -1,    1009,  870,   1401,  1700,  11000, 11002, 11004, 13099, 13102,
                              13109, 13112, 13119, 13122, 13299, 13302, 13399, 13402, 13409, 13413, 13419,
                              13423, 14099, 14135, 14149, 14154, 15999, 16013, 17003, 17010, INT32_MAX};
    for (int32_t id : others) EXPECT_FALSE(IsSkinPictureId(id)) << id;
}

TEST(SkinPicturesTest, ThePictureListIsAscendingWithoutRepeats) {
    // 2 About + 6 markers + 6 handles + 2 driver states + 2 knobs + 3 meters + 3 logos
    // + 35 buttons + 4 zoom and scroll + 13 navigator = 76.
    const std::vector<int32_t>& ids = GetSkinPictureIds();
    EXPECT_EQ(ids.size(), 76u);
    EXPECT_TRUE(std::adjacent_find(ids.begin(), ids.end(), [](int32_t a, int32_t b) { return a >= b; }) == ids.end());
}

TEST(SkinPicturesTest, NavigatorSlotsMapToTheirPicturesInOrder) {
    EXPECT_EQ(GetNavigatorPictureId(0), 16000);
    EXPECT_EQ(GetNavigatorPictureId(static_cast<int32_t>(ENavigatorPicture::kGripPressed)), 16004);
    EXPECT_EQ(GetNavigatorPictureId(static_cast<int32_t>(ENavigatorPicture::kLoopBand)), 16012);
    EXPECT_EQ(GetNavigatorPictureId(kNavigatorPictureCount), 0);
    EXPECT_EQ(GetNavigatorPictureId(-1), 0);
}

TEST(SkinPicturesTest, MarkerAndHandlePicturesFollowKindSelectionAndLook) {
    struct SMarkerCase {
        ESliceKind fKind;
        bool fSelected;
        int32_t fId;
    };
    const SMarkerCase markers[] = {
        {ESliceKind::kNormal, false, 13100}, {ESliceKind::kNormal, true, 13101}, {ESliceKind::kMuted, false, 13110},
        {ESliceKind::kMuted, true, 13111},   {ESliceKind::kLocked, false, 13120}, {ESliceKind::kLocked, true, 13121},
    };
    for (const SMarkerCase& test : markers)
        EXPECT_EQ(GetSliceMarkerPictureId(test.fKind, test.fSelected), test.fId) << static_cast<int>(test.fKind);
    EXPECT_EQ(GetLeftLocatorPictureId(true), 17004);
    EXPECT_EQ(GetLeftLocatorPictureId(false), 17005);
    EXPECT_EQ(GetRightLocatorPictureId(true), 17006);
    EXPECT_EQ(GetRightLocatorPictureId(false), 17007);
    EXPECT_EQ(GetPlaybackCursorPictureId(true), 17008);
    EXPECT_EQ(GetPlaybackCursorPictureId(false), 17009);
    EXPECT_EQ(GetKnobPictureId(true), 13400);
    EXPECT_EQ(GetKnobPictureId(false), 13401);
}

TEST(SkinPicturesTest, HotSpotsStandOnTheMarkerTipsAndTheLocatorEdges) {
    // Slice markers are 11 x 18 with the tip in column 5, row 17; the cursor wedge is 13 x 11;
    // the locator flags are 12 wide, the left standing on column 0, the right on column 11.
    for (int32_t id : {13100, 13101, 13110, 13111, 13120, 13121}) EXPECT_EQ(GetPictureHotSpot(id), (SHotSpot{5, 17})) << id;
    EXPECT_EQ(GetPictureHotSpot(17004), (SHotSpot{0, 0}));
    EXPECT_EQ(GetPictureHotSpot(17005), (SHotSpot{0, 0}));
    EXPECT_EQ(GetPictureHotSpot(17006), (SHotSpot{11, 0}));
    EXPECT_EQ(GetPictureHotSpot(17007), (SHotSpot{11, 0}));
    EXPECT_EQ(GetPictureHotSpot(17008), (SHotSpot{6, 10}));
    EXPECT_EQ(GetPictureHotSpot(17009), (SHotSpot{6, 10}));
}

TEST(SkinPicturesTest, PixelSizesAreThoseOfTheSkinSources) {
    struct SSizeCase {
        int32_t fId;
        SPictureSize fSize;
    };
    // Widths and heights as the svg headers of resources/skin declare them.
    const SSizeCase sizes[] = {
        {11001, {360, 120}}, {11003, {360, 40}}, {13100, {11, 18}}, {13121, {11, 18}}, {13300, {16, 16}},
        {13400, {28, 1792}},  // 64 frames of 28 x 28 stacked
        {13410, {101, 8}},   {13412, {6, 120}},  {13420, {24, 24}}, {14100, {26, 22}}, {14134, {26, 22}},
        {14150, {12, 12}},   {14153, {12, 12}},  {16000, {24, 24}}, {16006, {24, 24}}, {16007, {7, 10}},
        {16008, {11, 24}},   {16009, {11, 24}},  {16010, {8, 8}},   {16011, {3, 24}},  {16012, {8, 8}},
        {17004, {12, 14}},   {17007, {12, 14}},  {17008, {13, 11}}, {17009, {13, 11}},
    };
    for (const SSizeCase& test : sizes) EXPECT_EQ(GetPicturePixelSize(test.fId), test.fSize) << test.fId;
    for (int32_t id : GetSkinPictureIds()) {
        const SPictureSize size = GetPicturePixelSize(id);
        EXPECT_GT(size.fWidth, 0) << id;
        EXPECT_GT(size.fHeight, 0) << id;
        // A hot spot lies inside its picture.
        const SHotSpot hot = GetPictureHotSpot(id);
        EXPECT_LT(hot.fX, size.fWidth) << id;
        EXPECT_LT(hot.fY, size.fHeight) << id;
    }
    for (int32_t id : {0, 1401, 13099, 14135, 16013, 17003, 17010})
        EXPECT_EQ(GetPicturePixelSize(id), (SPictureSize{0, 0})) << id;
}

TEST(SkinPicturesTest, ButtonPicturesAreTheBasePlusTheStateAndNeverOverlap) {
    EXPECT_EQ(GetButtonPictureId(EButtonPicture::kArrowTool, EButtonState::kNormal), 14100);
    EXPECT_EQ(GetButtonPictureId(EButtonPicture::kPlayLoop, EButtonState::kPressed), 14116);
    EXPECT_EQ(GetButtonPictureId(EButtonPicture::kSilenceSelected, EButtonState::kDisabled), 14132);
    EXPECT_EQ(GetEffectSwitchPictureId(false), 14133);
    EXPECT_EQ(GetEffectSwitchPictureId(true), 14134);
    const EButtonPicture buttons[] = {
        EButtonPicture::kArrowTool,         EButtonPicture::kMuteTool,         EButtonPicture::kLockTool,
        EButtonPicture::kPenTool,           EButtonPicture::kStop,             EButtonPicture::kPlayLoop,
        EButtonPicture::kPlayPreviousSlice, EButtonPicture::kPlayCurrentSlice, EButtonPicture::kPlayCurrentSliceAndNext,
        EButtonPicture::kPreviewToggle,     EButtonPicture::kSilenceSelected,
    };
    std::set<int32_t> used = {GetEffectSwitchPictureId(false), GetEffectSwitchPictureId(true)};
    for (EButtonPicture button : buttons) {
        for (EButtonState state : {EButtonState::kNormal, EButtonState::kPressed, EButtonState::kDisabled}) {
            const int32_t id = GetButtonPictureId(button, state);
            EXPECT_TRUE(IsSkinPictureId(id)) << id;
            EXPECT_TRUE(used.insert(id).second) << id << " is used twice";
        }
    }
    // Together they fill 14100 to 14134 without a gap.
    EXPECT_EQ(*used.begin(), 14100);
    EXPECT_EQ(*used.rbegin(), 14134);
    EXPECT_EQ(used.size(), 35u);
}

TEST(SkinCursorsTest, OurCursorsHaveHotSpotsInsideThemAndOtherIdsNone) {
    struct SCursorCase {
        int32_t fId;
        int32_t fHotX;
        int32_t fHotY;
    };
    // The pen acts at its tip (lower left), the audition pointer at its tip (upper left), the
    // others at their centre of action.
    const SCursorCase cursors[] = {{870, 12, 12}, {1401, 12, 12}, {1500, 9, 9}, {1700, 2, 22}, {1701, 1, 1}};
    for (const SCursorCase& test : cursors) {
        const std::optional<SCursorShape> shape = FindCursorShape(test.fId);
        ASSERT_TRUE(shape.has_value()) << test.fId;
        EXPECT_EQ(shape->fId, test.fId);
        EXPECT_EQ(shape->fHotX, test.fHotX) << test.fId;
        EXPECT_EQ(shape->fHotY, test.fHotY) << test.fId;
        EXPECT_LT(shape->fHotX, shape->fSize) << test.fId;
        EXPECT_LT(shape->fHotY, shape->fSize) << test.fId;
    }
    for (int32_t id : {0, 869, 871, 1400, 1402, 1600, 1702, 13100}) EXPECT_FALSE(FindCursorShape(id).has_value()) << id;
}

}  // namespace
}  // namespace NSQuilletSkin
