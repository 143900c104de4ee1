#include "assembler/hash_table.h"

#include <new>
#include <string_view>
#include <utility>

CHashTable::CHashTable(int maxKeyLength) : keyCapacity_(maxKeyLength + 1)
{
    // Growing from no buckets makes the first 30; should that fail, Insert tries again.
    Grow();
}

bool CHashTable::Insert(const char* key, int value)
{
    if (*key == '\0' || value == FreeValue) {
        return false;
    }
    if (entryCount_ == bucketCount_ && !Grow()) {
        return false;
    }
    if (Probe(buckets_.get(), bucketCount_, key, value) < 0) {
        return false;
    }
    ++entryCount_;
    return true;
}

int CHashTable::Lookup(const char* key) const
{
    int value = FreeValue;
    Probe(buckets_.get(), bucketCount_, key, value);
    return value;
}

int CHashTable::BucketOf(const char* key) const
{
    int value = FreeValue;
    return Probe(buckets_.get(), bucketCount_, key, value);
}

void CHashTable::Clear()
{
    for (int i = 0; i < bucketCount_; ++i) {
        buckets_[i].key[0] = '\0';
        buckets_[i].value = FreeValue;
    }
    entryCount_ = 0;
}

std::unique_ptr<CHashTable::Bucket[]> CHashTable::MakeBuckets(int count, int keyCapacity)
{
    std::unique_ptr<Bucket[]> buckets(new (std::nothrow) Bucket[count]);
    if (!buckets) {
        return nullptr;
    }
    for (int i = 0; i < count; ++i) {
        buckets[i].key.reset(new (std::nothrow) char[keyCapacity]());
        if (!buckets[i].key) {
            return nullptr;
        }
    }
    return buckets;
}

int CHashTable::Hash(const char* key, int bucketCount)
{
    int sum = 0;
    for (const char* c = key; *c != '\0'; ++c) {
        sum += static_cast<signed char>(*c);
    }
    // Bytes of 0x80 and above count negative, and so may the remainder.
    const int bucket = sum % bucketCount;
    return bucket < 0 ? bucket + bucketCount : bucket;
}

int CHashTable::Probe(Bucket* buckets, int bucketCount, const char* key, int& value) const
{
    if (bucketCount == 0) {
        return -1;
    }
    const bool inserting = value != FreeValue;
    const std::string_view text(key);
    const int home = Hash(key, bucketCount);
    int index = home;
    do {
        Bucket& bucket = buckets[index];
        if (bucket.key[0] == '\0') {
            if (!inserting || text.size() >= static_cast<std::size_t>(keyCapacity_)) {
                return -1;
            }
            bucket.key[text.copy(bucket.key.get(), text.size())] = '\0';
            bucket.value = value;
            return index;
        }
        if (text == bucket.key.get()) {
            if (inserting) {
                return -1;
            }
            value = bucket.value;
            return index;
        }
        index = (index + 1) % bucketCount;
    } while (index != home);
    return -1;
}

bool CHashTable::Grow()
{
    const int grownCount = bucketCount_ + GrowthStep;
    std::unique_ptr<Bucket[]> grown = MakeBuckets(grownCount, keyCapacity_);
    if (!grown) {
        return false;
    }
    for (int i = 0; i < bucketCount_; ++i) {
        if (buckets_[i].key[0] != '\0') {
            Probe(grown.get(), grownCount, buckets_[i].key.get(), buckets_[i].value);
        }
    }
    buckets_ = std::move(grown);
    bucketCount_ = grownCount;
    return true;
}
