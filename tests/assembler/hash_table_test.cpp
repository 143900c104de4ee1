#include "assembler/hash_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Fills the 30 buckets of a new table with the keys K0 .. K29, valued 0 .. 29.
void FillThirtyKeys(CHashTable& table)
{
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(table.Insert(("K" + std::to_string(i)).c_str(), i));
    }
    ASSERT_EQ(table.EntryCount(), 30);
    ASSERT_EQ(table.BucketCount(), 30);
}

} // namespace

TEST(CHashTable, CollidingKeysProbeToTheNextBucket)
{
    CHashTable table(6);
    EXPECT_TRUE(table.Insert("AB", 10));
    EXPECT_TRUE(table.Insert("BA", 20));
    EXPECT_EQ(table.BucketOf("AB"), 11);
    EXPECT_EQ(table.BucketOf("BA"), 12);
    EXPECT_EQ(table.Lookup("AB"), 10);
    EXPECT_EQ(table.Lookup("BA"), 20);
    EXPECT_EQ(table.Lookup("CA"), -1);
}

TEST(CHashTable, NegativeSumsLandInRangeAndProbingWraps)
{
    CHashTable table(6);
    EXPECT_TRUE(table.Insert("\xFF", 1));     // sum -1
    EXPECT_TRUE(table.Insert("\x01\xFE", 2)); // sum -1, bucket 29 taken
    EXPECT_TRUE(table.Insert("\x80", 3));     // sum -128
    EXPECT_EQ(table.BucketOf("\xFF"), 29);
    EXPECT_EQ(table.BucketOf("\x01\xFE"), 0);
    EXPECT_EQ(table.BucketOf("\x80"), 22);
    EXPECT_EQ(table.Lookup("\x01\xFE"), 2);
}

TEST(CHashTable, RefusesDuplicatesAndKeysThatDoNotFit)
{
    CHashTable table(6);
    EXPECT_TRUE(table.Insert("LOOP", 5));
    EXPECT_FALSE(table.Insert("LOOP", 9));
    EXPECT_EQ(table.BucketOf("LOOP"), 14);
    EXPECT_EQ(table.Lookup("LOOP"), 5);
    EXPECT_TRUE(table.Insert("ABCDEF", 1));
    EXPECT_FALSE(table.Insert("ABCDEFG", 2));
    EXPECT_EQ(table.Lookup("ABCDEFG"), -1);
    EXPECT_FALSE(table.Insert("", 3));
    EXPECT_FALSE(table.Insert("FREE", -1));
    EXPECT_EQ(table.EntryCount(), 2);
}

TEST(CHashTable, GrowsWhenTheThirtyFirstKeyArrives)
{
    CHashTable table(6);
    FillThirtyKeys(table);
    EXPECT_EQ(table.Lookup("ABSENT"), -1);
    EXPECT_TRUE(table.Insert("Z", 99));
    EXPECT_EQ(table.BucketCount(), 60);
    EXPECT_EQ(table.EntryCount(), 31);
    EXPECT_EQ(table.BucketOf("Z"), 30);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(table.Lookup(("K" + std::to_string(i)).c_str()), i);
    }
}

TEST(CHashTable, ClearKeepsTheGrownBucketCount)
{
    CHashTable table(6);
    FillThirtyKeys(table);
    ASSERT_TRUE(table.Insert("LAST", 1));
    table.Clear();
    EXPECT_EQ(table.BucketCount(), 60);
    EXPECT_EQ(table.EntryCount(), 0);
    EXPECT_EQ(table.Lookup("K0"), -1);
    EXPECT_EQ(table.Lookup("LAST"), -1);
    EXPECT_TRUE(table.Insert("Z", 7));
    EXPECT_EQ(table.BucketOf("Z"), 30);
}

TEST(CHashTable, DuplicateIntoAFullTableGrowsItAndFails)
{
    CHashTable table(6);
    FillThirtyKeys(table);
    EXPECT_FALSE(table.Insert("K7", 50));
    EXPECT_EQ(table.BucketCount(), 60);
    EXPECT_EQ(table.EntryCount(), 30);
    EXPECT_EQ(table.Lookup("K7"), 7);
}
