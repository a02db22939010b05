#pragma once

#include "meta/tagentry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vistado {

class TimgData;

// The IPTC records of an image: the datasets of an APP13 segment as named text
// records, looked up, set, merged and deleted by key (ASCII letters compared
// without regard to case). Values live only in memory; the writer copies the
// APP13 segment as it was read. Malformed data gives fewer or odd records,
// never an error.
class TIPTCdata {
public:
    explicit TIPTCdata(TimgData& owner);

    // Index of the first record with the key; -1 when there is none.
    virtual int32_t FindRecord(const std::string& key) const;
    // Removes the record FindRecord finds, if any.
    virtual void DeleteRecord(const std::string& key);
    // Sets the value of the record with the key (an empty value leaves it as
    // it is), or adds a record of the table's row for the key. The record's
    // index, or -1 when the key is neither in the list nor in the table.
    virtual int32_t PutValue(const std::string& key, const std::string& value);
    // Merges a comma list into the record's value, or adds the record as
    // PutValue does. An index or -1.
    virtual int32_t MergeValues(const std::string& key, const std::string& value);
    // MergeValues for a list-valued dataset, PutValue for any other; -1 for a
    // key that is not in the table.
    virtual int32_t StoreValue(const std::string& key, const std::string& value);
    virtual std::string ValueOf(const std::string& key, const std::string& defaultText) const;
    // Opens the file through the owner and parses its first APP13 segment
    // into this list; true when that gave at least one record. Refused (false,
    // nothing changes, the file is not opened) on the list the owner created
    // for itself, which the owner's open would destroy: parse that one with
    // ParseSegment(owner.iptcSection->bytes) instead.
    virtual bool LoadFromImage(const std::string& fileName);
    virtual ~TIPTCdata() = default;

    TIPTCdata(const TIPTCdata&) = delete;
    TIPTCdata& operator=(const TIPTCdata&) = delete;

    int32_t RecordCount() const { return recordCount; }
    // Entries allocated; always more than RecordCount once one is stored.
    int32_t recordCapacity() const { return capacity; }
    TimgData& container() const { return owner; }
    // A copy of the record; an index outside 0 to RecordCount - 1 raises ERangeError.
    TTagEntry RecordAt(int32_t index) const;
    // Adds a copy unless its tagId is 0; the index of the last record (-1 for
    // an empty list). Grows by 25 entries when fewer than two are free.
    int32_t AppendRecord(const TTagEntry& entry);
    void ClearRecords();
    bool HasRecords() const { return recordCount > 0; }
    // Replaces the records with the datasets of one APP13 segment, given as
    // held in the container: length field, then payload.
    void ParseSegment(const std::string& segment);
    // Index of the first table row whose key equals the key; -1 when none.
    static int32_t TableIndexOf(const std::string& key);

private:
    int32_t capacity = 0;
    TimgData& owner;
    int32_t recordCount = 0;
    std::vector<TTagEntry> records;
};

// Decodes the dataset whose record-number byte is at offset pos of the
// segment and moves pos to the next one. The entry is empty (tagId 0) for a
// record number other than 2 and 8; a dataset outside the table, or the
// "SKIP" row, gives a "Custom_<dataset>" entry.
TTagEntry ReadDataset(const std::string& segment, size_t& pos);

}  // namespace vistado
