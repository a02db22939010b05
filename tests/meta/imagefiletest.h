#pragma once

#include "jpegbuilder.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include "meta/imgdata.h"
#include "meta/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace vistado::test {

// A test that writes image bytes into its own folder and opens them with a
// container, reading as the program does ("." separator, decimal degrees).
class ImageFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetDecimalSeparator('.');
        SetGpsRenderingMode(0);
    }
    void TearDown() override { SetDecimalSeparator(','); }

    bool Open(const std::string& bytes, const std::string& name = "image.jpg")
    {
        const std::string path = dir.File(name);
        WriteFile(path, bytes);
        return image.OpenImage(path);
    }

    // Opens a JPEG holding the TIFF data as its Exif segment.
    bool OpenExif(const TTiffBuilder& tiff)
    {
        return Open(JpegFile({ExifSegment(tiff.Build()), QuantTableSegment(), ScanSegment()}));
    }

    TImageInfo& Decoder() { return *image.exifDecoder; }
    std::string Value(const std::string& name) { return image.exifDecoder->TagValueText(name); }

    TTempDir dir;
    TimgData image{kDecodeAll};
};

}  // namespace vistado::test
