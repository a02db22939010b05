#include "meta/iptc/iptc.h"

#include "meta/iptc/commalist.h"
#include "meta/iptc/iptctable.h"
#include "meta/rangeerror.h"

#include <algorithm>
#include <string_view>

namespace vistado {

namespace {

constexpr char kTagMarker = 0x1C;
constexpr uint8_t kApplicationRecord = 2;
constexpr uint8_t kPreObjectRecord = 8;
constexpr std::string_view kPhotoshopSignature = "Photoshop 3.0";
// Where the dataset scan starts in a segment without the signature.
constexpr size_t kUnsignedScanStart = 12;
constexpr int32_t kGrowth = 25;
constexpr int32_t kCustomMaxLength = 64;

uint8_t byteAt(const std::string& bytes, size_t pos)
{
    return static_cast<uint8_t>(bytes[pos]);
}

bool isDatasetRecord(uint8_t record)
{
    return record == kApplicationRecord || record == kPreObjectRecord;
}

// The first table row of the record and dataset; nullptr when none.
const TTagEntry* datasetRow(uint16_t record, uint16_t dataset)
{
    const auto table = iptcDatasetTable();
    const auto row = std::find_if(table.begin(), table.end(), [&](const TTagEntry& r) {
        return r.recordNumber == record && r.tagId == dataset;
    });
    return row == table.end() ? nullptr : &*row;
}

}  // namespace

TTagEntry ReadDataset(const std::string& segment, size_t& pos)
{
    const uint8_t record = byteAt(segment, pos);
    const uint8_t dataset = byteAt(segment, pos + 1);
    // Lengths with the top bit set are taken as they stand, not as extended lengths.
    const size_t length = byteAt(segment, pos + 2) * 256u + byteAt(segment, pos + 3);
    const size_t valueStart = pos + 4;
    const std::string value = segment.substr(std::min(valueStart, segment.size()), length);
    // The byte behind the value, the next dataset's tag marker, is passed over unchecked.
    pos = valueStart + length + 1;

    if (!isDatasetRecord(record))
        return {};
    const TTagEntry* row = datasetRow(record, dataset);
    TTagEntry entry;
    if (row != nullptr && row->key != kSkipKey) {
        entry = *row;
    } else {
        entry.key = "Custom_" + std::to_string(dataset);
        entry.caption = entry.key;
        entry.recordNumber = record;
        entry.tagId = dataset;
        entry.maxLength = kCustomMaxLength;
    }
    entry.text = value;
    return entry;
}

TIPTCdata::TIPTCdata(TimgData& owner) : owner(owner) {}

int32_t TIPTCdata::FindRecord(const std::string& key) const
{
    return indexOfKey(std::span(records).first(static_cast<size_t>(recordCount)), key);
}

void TIPTCdata::DeleteRecord(const std::string& key)
{
    const int32_t found = FindRecord(key);
    if (found < 0)
        return;
    const auto first = records.begin() + found;
    std::move(first + 1, records.begin() + recordCount, first);
    --recordCount;
    records[static_cast<size_t>(recordCount)] = {};
}

int32_t TIPTCdata::PutValue(const std::string& key, const std::string& value)
{
    const int32_t found = FindRecord(key);
    if (found >= 0) {
        if (!value.empty())
            records[static_cast<size_t>(found)].text = value;
        return found;
    }
    const int32_t row = TableIndexOf(key);
    if (row < 0)
        return -1;
    TTagEntry entry = iptcDatasetTable()[static_cast<size_t>(row)];
    entry.text = value;
    return AppendRecord(entry);
}

int32_t TIPTCdata::MergeValues(const std::string& key, const std::string& value)
{
    const int32_t found = FindRecord(key);
    if (found >= 0) {
        std::string& text = records[static_cast<size_t>(found)].text;
        if (!value.empty())
            text = MergeCommaLists(text, value);
        return found;
    }
    return PutValue(key, MergeCommaLists({}, value));
}

int32_t TIPTCdata::StoreValue(const std::string& key, const std::string& value)
{
    const int32_t row = TableIndexOf(key);
    if (row < 0)
        return -1;
    if (isListValued(iptcDatasetTable()[static_cast<size_t>(row)].tagId))
        return MergeValues(key, value);
    return PutValue(key, value);
}

std::string TIPTCdata::ValueOf(const std::string& key, const std::string& defaultText) const
{
    const int32_t found = FindRecord(key);
    return found >= 0 ? records[static_cast<size_t>(found)].text : defaultText;
}

TTagEntry TIPTCdata::RecordAt(int32_t index) const
{
    if (index < 0 || index >= recordCount)
        throw ERangeError("IPTC record " + std::to_string(index) + " of " + std::to_string(recordCount));
    return records[static_cast<size_t>(index)];
}

int32_t TIPTCdata::AppendRecord(const TTagEntry& entry)
{
    if (entry.tagId != 0) {
        // One entry always stays spare.
        if (recordCount >= capacity - 1) {
            capacity += kGrowth;
            records.resize(static_cast<size_t>(capacity));
        }
        records[static_cast<size_t>(recordCount)] = entry;
        ++recordCount;
    }
    return recordCount - 1;
}

void TIPTCdata::ClearRecords()
{
    recordCount = 0;
    std::fill(records.begin(), records.end(), TTagEntry{});
}

void TIPTCdata::ParseSegment(const std::string& segment)
{
    ClearRecords();
    const size_t signature = segment.find(kPhotoshopSignature);
    const size_t scanStart =
        signature == std::string::npos ? kUnsignedScanStart : signature + kPhotoshopSignature.size();
    // Image resource headers are not parsed: the first tag marker followed by
    // a record number of 2 or 8 starts the datasets.
    size_t pos = std::string::npos;
    for (size_t i = scanStart; i + 1 < segment.size(); ++i) {
        if (segment[i] == kTagMarker && isDatasetRecord(byteAt(segment, i + 1))) {
            pos = i + 1;
            break;
        }
    }
    if (pos == std::string::npos)
        return;
    while (pos + 3 < segment.size()) {
        const TTagEntry entry = ReadDataset(segment, pos);
        // Each dataset is one item of the list, blanks and commas included:
        // quoted, it splits back into that item.
        if (isListValued(entry.tagId))
            MergeValues(entry.key, entry.text.empty() ? entry.text : joinCommaList({entry.text}));
        else
            AppendRecord(entry);
    }
}

int32_t TIPTCdata::TableIndexOf(const std::string& key)
{
    return indexOfKey(iptcDatasetTable(), key);
}

}  // namespace vistado
