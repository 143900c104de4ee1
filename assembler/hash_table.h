#pragma once

#include <memory>

// Label names to byte addresses: open addressing with linear probing over an
// additive hash. A key arriving at a full table first grows it by 30 buckets.
// Every bucket owns a key buffer, allocated once when its bucket array is made.
class CHashTable {
public:
    explicit CHashTable(int maxKeyLength);

    // False when the key is empty, already present or too long, when the value
    // is -1 (the mark of a free bucket), or when growing ran out of memory.
    bool Insert(const char* key, int value);
    // The stored value, -1 when the key is absent.
    int Lookup(const char* key) const;
    // Empties every bucket; the bucket count stays.
    void Clear();

    int BucketCount() const { return bucketCount_; }
    int EntryCount() const { return entryCount_; }
    // The bucket that holds the key, -1 when it is absent.
    int BucketOf(const char* key) const;

private:
    static constexpr int GrowthStep = 30;
    static constexpr int FreeValue = -1;

    struct Bucket {
        std::unique_ptr<char[]> key; // the empty text marks a free bucket
        int value = FreeValue;
    };

    // nullptr when memory runs out.
    static std::unique_ptr<Bucket[]> MakeBuckets(int count, int keyCapacity);
    static int Hash(const char* key, int bucketCount);
    // A value of -1 looks the key up and hands its value out; any other value
    // stores the pair in the first free bucket. Returns the bucket used, or -1
    // when the key is absent (lookup) or cannot be stored (insert).
    int Probe(Bucket* buckets, int bucketCount, const char* key, int& value) const;
    bool Grow();

    int keyCapacity_;
    int entryCount_ = 0;
    int bucketCount_ = 0;
    std::unique_ptr<Bucket[]> buckets_;
};
