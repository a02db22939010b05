#include "meta/iptc/iptctable.h"

#include <algorithm>
#include <iterator>

namespace vistado {

namespace {

TTagEntry row(uint16_t record, uint16_t dataset, const char* key, const char* caption, int32_t maxLength)
{
    return {.recordNumber = record, .tagId = dataset, .key = key, .caption = caption, .maxLength = maxLength};
}

const TTagEntry kDatasets[] = {
    row(2, 0, kSkipKey, "Record Version", 64),
    row(2, 3, "ObjectType", "Object Type Ref", 67),
    row(2, 4, "ObjectAttr", "Object Attribute Ref", 67),
    row(2, 5, "ObjectName", "Object name", 64),
    row(2, 7, "EditStatus", "Edit Status", 64),
    row(2, 8, "EditorialUpdate", "Editorial Update", 2),
    row(2, 10, "Urgency", "Urgency", 1),
    row(2, 12, "SubRef", "Subject Reference", 236),
    row(2, 15, "Category", "Category", 3),
    row(2, 20, "SuppCategory", "Supplemental category", 32),
    row(2, 22, "FixtureID", "Fixture ID", 32),
    row(2, 25, "Keywords", "Keywords", 64),
    row(2, 26, "ContentLocCode", "Content Location Code", 3),
    row(2, 27, "ContentLocName", "Content Location Name", 64),
    row(2, 30, "ReleaseDate", "Release Date", 8),
    row(2, 35, "ReleaseTime", "Release Time", 11),
    row(2, 37, "ExpireDate", "Expiration Date", 8),
    row(2, 38, "ExpireTime", "Expiration Time", 11),
    row(2, 40, "SpecialInstru", "Special Instructions", 256),
    row(2, 42, "ActionAdvised", "Action Advised", 2),
    row(2, 45, "RefService", "Reference Service", 10),
    row(2, 47, "RefDate", "Reference Date", 8),
    row(2, 50, "RefNumber", "Reference Number", 8),
    row(2, 55, "DateCreated", "Date created", 8),
    row(2, 60, "TimeCreated", "Time created", 11),
    row(2, 62, "DigitizeDate", "Digital Creation Date", 8),
    row(2, 63, "DigitizeTime", "Digital Creation Time", 11),
    row(2, 65, "OriginatingProgram", "Originating Program", 32),
    row(2, 70, "ProgramVersion", "Program version", 10),
    row(2, 75, "ObjectCycle", "Object Cycle", 1),
    row(2, 80, "ByLine", "ByLine", 32),
    row(2, 85, "ByLineTitle", "ByLine Title", 32),
    row(2, 90, "City", "City", 32),
    row(2, 92, "SubLocation", "Sublocation", 32),
    row(2, 95, "State", "Province/State", 32),
    row(2, 100, "LocationCode", "Country/Primary Location Code", 3),
    row(2, 101, "LocationName", "Country/Primary Location Name", 64),
    row(2, 103, "TransmissionRef", "Original Transmission Reference", 32),
    row(2, 105, "ImageHeadline", "Image headline", 256),
    row(2, 110, "ImageCredit", "Image credit", 32),
    row(2, 115, "Source", "Source", 32),
    row(2, 116, "Copyright", "Copyright Notice", 128),
    row(2, 118, "Contact", "Contact", 128),
    row(2, 120, "ImageCaption", "Image caption", 2000),
    row(2, 122, "ImageCaptionWriter", "Image caption writer", 32),
    row(2, 130, "ImageType", "Image type", 2),
    row(2, 131, "Orientation", "Image Orientation", 1),
    row(2, 135, "LangID", "Language ID", 3),
    row(8, 10, "Subfile", "Subfile", 2),
};

const uint16_t kListValuedDatasets[] = {20, 25};

}  // namespace

std::span<const TTagEntry> iptcDatasetTable()
{
    return kDatasets;
}

bool isListValued(uint16_t dataset)
{
    return std::find(std::begin(kListValuedDatasets), std::end(kListValuedDatasets), dataset) !=
           std::end(kListValuedDatasets);
}

}  // namespace vistado
