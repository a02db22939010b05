#pragma once

#include "meta/locationfields.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistado {

// The Photoshop image resources of an APP13 segment, read strictly so that they can be
// written back: every resource stays byte for byte except the IIM datasets (0x0404), into
// which the location datasets go, and their digest (0x0425). The IIM datasets keep their
// order; new ones go in dataset-number order within record 2.
class App13Writer {
public:
    // `payload` is the segment behind its length field ("Photoshop 3.0\0" and the
    // resources); empty for a photo without APP13, which gets a new one. Raises
    // EFieldsNotWritable for resources or datasets that run past their end, a resource or a
    // dataset without its mark, missing padding, or more than one IIM resource.
    explicit App13Writer(std::string_view payload = {});

    // The IIM's location datasets (2:90, 2:95, 2:101, 2:100) as they stand.
    LocationFields location() const;
    // Whether the IIM's character set holds the values: plain ASCII always; other text only
    // where the IIM declares UTF-8 (1:90 ESC % G) or declares nothing and holds only ASCII,
    // so that declaring UTF-8 changes no text already there.
    bool canHold(const LocationFields& utf8) const;
    // The new payload: the datasets of the values given (cut to their IIM maximum length at a
    // character's end), with 1:90 for UTF-8 where a value needs it and 2:0 where record 2 is
    // new, and the digest of the new IIM data; for an IIM without location values (an
    // empty location dataset takes its value where it stands). Raises EFieldsNotWritable when the result no
    // longer fits a segment.
    std::string withLocation(const LocationFields& utf8) const;
    // What withLocation keeps byte for byte, in order: the resources other than the IIM
    // datasets and their digest, then the datasets other than those it may add.
    std::vector<std::string_view> keptParts() const;

private:
    struct Resource {
        size_t start;      // of its signature
        size_t end;        // behind its padding
        uint16_t id;
        size_t dataStart;  // of its data
        size_t dataEnd;    // behind its data, in front of its padding
    };
    struct Dataset {
        uint8_t record;
        uint8_t number;
        size_t start;       // of its tag marker
        size_t end;         // behind its value
        size_t valueStart;
    };

    void readResources();
    void readDatasets(size_t start, size_t end);
    std::string_view value(const Dataset& dataset) const;
    const Dataset* find(uint8_t record, uint8_t number) const;
    std::string newIimData(const LocationFields& utf8) const;

    std::string bytes;
    std::vector<Resource> resources;
    size_t resourcesEnd = 0;  // zero bytes behind the last resource are kept as they are
    std::vector<Dataset> datasets;
    size_t iimEnd = 0;        // likewise behind the last dataset, within the IIM data
    bool hasIim = false;
};

}  // namespace vistado
