#include <gtest/gtest.h>

#include <cstdint>

#include "ui/logic/NavigatorSkinMargins.h"

namespace NSQuilletSkin {
namespace {

struct SMarginsCase {
    ENavigatorMargins fWhich;
    int32_t fPart;
    SSkinMargins fExpected;
};

TEST(NavigatorSkinMarginsTest, EachOperationGivesItsInsetsForTheThreeParts) {
    const SMarginsCase cases[] = {
        {ENavigatorMargins::kFirst, 0, {2, 2, 2, 2}},
        {ENavigatorMargins::kFirst, 1, {2, 2, 2, 2}},
        {ENavigatorMargins::kFirst, 2, {2, 2, 2, 2}},
        {ENavigatorMargins::kSecond, 0, {3, 3, 3, 6}},
        {ENavigatorMargins::kSecond, 1, {4, 4, 6, 6}},
        {ENavigatorMargins::kSecond, 2, {4, 4, 4, 4}},
        {ENavigatorMargins::kThird, 0, {3, 6, 3, 3}},
        {ENavigatorMargins::kThird, 1, {6, 6, 4, 4}},
        {ENavigatorMargins::kThird, 2, {6, 6, 6, 6}},
        {ENavigatorMargins::kFourth, 0, {11, 0, 11, 0}},
        {ENavigatorMargins::kFourth, 1, {0, 5, 0, 5}},
        {ENavigatorMargins::kFourth, 2, {0, 0, 0, 0}},
    };
    for (const SMarginsCase& test : cases) {
        const SSkinMargins got = GetNavigatorMargins(test.fWhich, test.fPart);
        EXPECT_EQ(got, test.fExpected) << "operation " << static_cast<int>(test.fWhich) << " part " << test.fPart
                                       << ": " << got.fLeft << "," << got.fTop << "," << got.fRight << ","
                                       << got.fBottom;
    }
}

TEST(NavigatorSkinMarginsTest, PartsOutsideZeroToTwoAndUnknownOperationsAreEmpty) {
    for (ENavigatorMargins which : {ENavigatorMargins::kFirst, ENavigatorMargins::kSecond, ENavigatorMargins::kThird,
                                    ENavigatorMargins::kFourth}) {
        for (int32_t part : {-1, 3, 4, 1000, INT32_MIN}) {
            EXPECT_TRUE(GetNavigatorMargins(which, part).IsEmpty())
                << "operation " << static_cast<int>(which) << " part " << part;
        }
    }
    EXPECT_TRUE(GetNavigatorMargins(static_cast<ENavigatorMargins>(4), 0).IsEmpty());
    EXPECT_TRUE(GetNavigatorMargins(static_cast<ENavigatorMargins>(-1), 1).IsEmpty());
}

}  // namespace
}  // namespace NSQuilletSkin
