#pragma once

#include "jpegbuilder.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include "meta/container/imgdata.h"
#include "meta/text/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace vistado::test {

// A test that writes image bytes into its own folder and opens them with a
// container, reading as the program does ("." separator, decimal degrees).
class ImageFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        setDecimalSeparator('.');
        setGpsRenderingMode(0);
    }
    void TearDown() override { setDecimalSeparator(','); }

    bool open(const std::string& bytes, const std::string& name = "image.jpg")
    {
        const std::string path = dir.file(name);
        writeFile(path, bytes);
        return image.OpenImage(path);
    }

    // Opens a JPEG holding the TIFF data as its Exif segment.
    bool openExif(const TiffBuilder& tiff)
    {
        return open(jpegFile({exifSegment(tiff.build()), quantTableSegment(), scanSegment()}));
    }

    TImageInfo& decoder() { return *image.exifDecoder; }
    std::string value(const std::string& name) { return image.exifDecoder->TagValueText(name); }

    TempDir dir;
    TimgData image{kDecodeAll};
};

}  // namespace vistado::test
