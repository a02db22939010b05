#include "meta/exif/tagtables.h"

#include "meta/exif/formatters.h"
#include "meta/text/valuerender.h"

#include <algorithm>
#include <vector>

namespace vistado {

namespace {

// Rows carry no caption unless they have one of their own; FillDescriptions
// makes the others from their keys.
TTagEntry mainTable[] = {
    {.tagId = 0x0001, .key = "InteroperabilityIndex"},
    {.tagId = 0x0002, .key = "InteroperabilityVersion"},
    {.tagId = 0x000B, .key = "ACDComment"},
    {.tagId = 0x00FE, .key = "NewSubfileType"},
    {.tagId = 0x00FF, .key = "SubfileType"},
    {.tagId = 0x0100, .key = "ImageWidth"},
    {.tagId = 0x0101, .key = "ImageLength"},
    {.tagId = 0x0102, .key = "BitsPerSample"},
    {.tagId = 0x0103, .key = "Compression", .valueMap = "6:Jpeg,3:Uncompressed,1:TIFF"},
    {.tagId = 0x0106, .key = "PhotometricInterpretation", .valueMap = "1:Monochrome,2:RGB,6:YCbCr"},
    {.tagId = 0x010A, .key = "FillOrder"},
    {.tagId = 0x010D, .key = "DocumentName"},
    {.tagId = 0x010E, .key = "ImageDescription"},
    {.tagId = 0x010F, .key = "Make"},
    {.tagId = 0x0110, .key = "Model"},
    {.tagId = 0x0111, .key = "StripOffsets"},
    {.tagId = 0x0112, .key = "Orientation", .valueMap = "1:Normal,3:Rotated 180°,6:CounterClockwise 90°,8:Clockwise 90°"},
    {.tagId = 0x0115, .key = "SamplesPerPixel"},
    {.tagId = 0x0116, .key = "RowsPerStrip"},
    {.tagId = 0x0117, .key = "StripByteCounts"},
    {.tagId = 0x0118, .key = "MinSampleValue"},
    {.tagId = 0x0119, .key = "MaxSampleValue"},
    {.tagId = 0x011A, .key = "XResolution", .formatText = "%5.2f"},
    {.tagId = 0x011B, .key = "YResolution", .formatText = "%5.2f"},
    {.tagId = 0x011C, .key = "PlanarConfiguration"},
    {.tagId = 0x011D, .key = "PageName"},
    {.tagId = 0x011E, .key = "XPosition"},
    {.tagId = 0x011F, .key = "YPosition"},
    {.tagId = 0x0120, .key = "FreeOffsets"},
    {.tagId = 0x0121, .key = "FreeByteCounts"},
    {.tagId = 0x0122, .key = "GrayReponseUnit"},
    {.tagId = 0x0123, .key = "GrayReponseCurve"},
    {.tagId = 0x0124, .key = "T4Options"},
    {.tagId = 0x0125, .key = "T6Options"},
    {.tagId = 0x0128, .key = "ResolutionUnit", .valueMap = "1:None Specified,2:Inch,3:Centimeter"},
    {.tagId = 0x0129, .key = "PageNumber"},
    {.tagId = 0x012D, .key = "TransferFunction"},
    {.tagId = 0x0131, .key = "Software"},
    {.tagId = 0x0132, .key = "DateTime"},
    {.tagId = 0x013B, .key = "Artist"},
    {.tagId = 0x013C, .key = "HostComputer"},
    {.tagId = 0x013D, .key = "Predictor"},
    {.tagId = 0x013E, .key = "WhitePoint"},
    {.tagId = 0x013F, .key = "PrimaryChromaticities"},
    {.tagId = 0x0140, .key = "ColorMap"},
    {.tagId = 0x0141, .key = "HalfToneHints"},
    {.tagId = 0x0142, .key = "TileWidth"},
    {.tagId = 0x0143, .key = "TileLength"},
    {.tagId = 0x0144, .key = "TileOffsets"},
    {.tagId = 0x0145, .key = "TileByteCounts"},
    {.tagId = 0x014A, .key = "SubIFDs"},
    {.tagId = 0x014C, .key = "InkSet"},
    {.tagId = 0x014D, .key = "InkNames"},
    {.tagId = 0x014E, .key = "NumberOfInks"},
    {.tagId = 0x0150, .key = "DotRange"},
    {.tagId = 0x0151, .key = "TargetPrinter"},
    {.tagId = 0x0152, .key = "ExtraSample"},
    {.tagId = 0x0153, .key = "SampleFormat"},
    {.tagId = 0x0154, .key = "SMinSampleValue"},
    {.tagId = 0x0155, .key = "SMaxSampleValue"},
    {.tagId = 0x0156, .key = "TransferRange"},
    {.tagId = 0x0157, .key = "ClipPath"},
    {.tagId = 0x0158, .key = "XClipPathUnits"},
    {.tagId = 0x0159, .key = "YClipPathUnits"},
    {.tagId = 0x015A, .key = "Indexed"},
    {.tagId = 0x015B, .key = "JPEGTables"},
    {.tagId = 0x015F, .key = "OPIProxy"},
    {.tagId = 0x0200, .key = "JPEGProc"},
    {.tagId = 0x0201, .key = "JPEGInterchangeFormat"},
    {.tagId = 0x0202, .key = "JPEGInterchangeFormatLength"},
    {.tagId = 0x0203, .key = "JPEGRestartInterval"},
    {.tagId = 0x0205, .key = "JPEGLosslessPredictors"},
    {.tagId = 0x0206, .key = "JPEGPointTransforms"},
    {.tagId = 0x0207, .key = "JPEGQTables"},
    {.tagId = 0x0208, .key = "JPEGDCTables"},
    {.tagId = 0x0209, .key = "JPEGACTables"},
    {.tagId = 0x0211, .key = "YCbCrCoefficients"},
    {.tagId = 0x0212, .key = "YCbCrSubSampling"},
    {.tagId = 0x0213, .key = "YCbCrPositioning", .valueMap = "1:Centered,2:Co-sited"},
    {.tagId = 0x0214, .key = "ReferenceBlackWhite"},
    {.tagId = 0x02BC, .key = "ExtensibleMetadataPlatform"},
    {.tagId = 0x0301, .key = "Gamma"},
    {.tagId = 0x0302, .key = "ICCProfileDescriptor"},
    {.tagId = 0x0303, .key = "SRGBRenderingIntent"},
    {.tagId = 0x0304, .key = "ImageTitle"},
    {.tagId = 0x1000, .key = "RelatedImageFileFormat"},
    {.tagId = 0x1001, .key = "RelatedImageWidth"},
    {.tagId = 0x1002, .key = "RelatedImageHeight"},
    {.tagId = 0x5001, .key = "ResolutionXUnit"},
    {.tagId = 0x5002, .key = "ResolutionYUnit"},
    {.tagId = 0x5003, .key = "ResolutionXLengthUnit"},
    {.tagId = 0x5004, .key = "ResolutionYLengthUnit"},
    {.tagId = 0x5005, .key = "PrintFlags"},
    {.tagId = 0x5006, .key = "PrintFlagsVersion"},
    {.tagId = 0x5007, .key = "PrintFlagsCrop"},
    {.tagId = 0x5008, .key = "PrintFlagsBleedWidth"},
    {.tagId = 0x5009, .key = "PrintFlagsBleedWidthScale"},
    {.tagId = 0x500A, .key = "HalftoneLPI"},
    {.tagId = 0x500B, .key = "HalftoneLPIUnit"},
    {.tagId = 0x500C, .key = "HalftoneDegree"},
    {.tagId = 0x500D, .key = "HalftoneShape"},
    {.tagId = 0x500E, .key = "HalftoneMisc"},
    {.tagId = 0x500F, .key = "HalftoneScreen"},
    {.tagId = 0x5010, .key = "JPEGQuality"},
    {.tagId = 0x5011, .key = "GridSize"},
    {.tagId = 0x5012, .key = "ThumbnailFormat"},
    {.tagId = 0x5013, .key = "ThumbnailWidth"},
    {.tagId = 0x5014, .key = "ThumbnailHeight"},
    {.tagId = 0x5015, .key = "ThumbnailColorDepth"},
    {.tagId = 0x5016, .key = "ThumbnailPlanes"},
    {.tagId = 0x5017, .key = "ThumbnailRawBytes"},
    {.tagId = 0x5018, .key = "ThumbnailSize"},
    {.tagId = 0x5019, .key = "ThumbnailCompressedSize"},
    {.tagId = 0x501A, .key = "ColorTransferFunction"},
    {.tagId = 0x501B, .key = "ThumbnailData"},
    {.tagId = 0x5020, .key = "ThumbnailImageWidth"},
    {.tagId = 0x5021, .key = "ThumbnailImageHeight"},
    {.tagId = 0x5022, .key = "ThumbnailBitsPerSample"},
    {.tagId = 0x5023, .key = "ThumbnailCompression"},
    {.tagId = 0x5024, .key = "ThumbnailPhotometricInterp"},
    {.tagId = 0x5025, .key = "ThumbnailImageDescription"},
    {.tagId = 0x5026, .key = "ThumbnailEquipMake"},
    {.tagId = 0x5027, .key = "ThumbnailEquipModel"},
    {.tagId = 0x5028, .key = "ThumbnailStripOffsets"},
    {.tagId = 0x5029, .key = "ThumbnailOrientation"},
    {.tagId = 0x502A, .key = "ThumbnailSamplesPerPixel"},
    {.tagId = 0x502B, .key = "ThumbnailRowsPerStrip"},
    {.tagId = 0x502C, .key = "ThumbnailStripBytesCount"},
    {.tagId = 0x502D, .key = "ThumbnailResolutionX"},
    {.tagId = 0x502E, .key = "ThumbnailResolutionY"},
    {.tagId = 0x502F, .key = "ThumbnailPlanarConfig"},
    {.tagId = 0x5030, .key = "ThumbnailResolutionUnit"},
    {.tagId = 0x5031, .key = "ThumbnailTransferFunction"},
    {.tagId = 0x5032, .key = "ThumbnailSoftwareUsed"},
    {.tagId = 0x5033, .key = "ThumbnailDateTime"},
    {.tagId = 0x5034, .key = "ThumbnailArtist"},
    {.tagId = 0x5035, .key = "ThumbnailWhitePoint"},
    {.tagId = 0x5036, .key = "ThumbnailPrimaryChromaticities"},
    {.tagId = 0x5037, .key = "ThumbnailYCbCrCoefficients"},
    {.tagId = 0x5038, .key = "ThumbnailYCbCrSubsampling"},
    {.tagId = 0x5039, .key = "ThumbnailYCbCrPositioning"},
    {.tagId = 0x503A, .key = "ThumbnailRefBlackWhite"},
    {.tagId = 0x503B, .key = "ThumbnailCopyRight"},
    {.tagId = 0x5090, .key = "LuminanceTable"},
    {.tagId = 0x5091, .key = "ChrominanceTable"},
    {.tagId = 0x5100, .key = "FrameDelay"},
    {.tagId = 0x5101, .key = "LoopCount"},
    {.tagId = 0x5110, .key = "PixelUnit"},
    {.tagId = 0x5111, .key = "PixelPerUnitX"},
    {.tagId = 0x5112, .key = "PixelPerUnitY"},
    {.tagId = 0x5113, .key = "PaletteHistogram"},
    {.tagId = 0x800D, .key = "ImageID"},
    {.tagId = 0x80E3, .key = "Matteing"},
    {.tagId = 0x80E4, .key = "DataType"},
    {.tagId = 0x80E5, .key = "ImageDepth"},
    {.tagId = 0x80E6, .key = "TileDepth"},
    {.tagId = 0x828D, .key = "CFARepeatPatternDim"},
    {.tagId = 0x828E, .key = "CFAPattern"},
    {.tagId = 0x828F, .key = "BatteryLevel"},
    {.tagId = 0x8298, .key = "Copyright"},
    {.tagId = 0x829A, .key = "ExposureTime", .formatText = "%s sec"},
    {.tagId = 0x829D, .key = "FNumber", .formatText = "F%0.1f"},
    {.tagId = 0x83BB, .key = "IPTC/NAA", .caption = "IPTC/NAA"},
    {.tagId = 0x84E3, .key = "IT8RasterPadding"},
    {.tagId = 0x84E5, .key = "IT8ColorTable"},
    {.tagId = 0x8649, .key = "ImageResourceInformation"},
    {.tagId = 0x8769, .key = "ExifOffset"},
    {.tagId = 0x8773, .key = "InterColorProfile"},
    {.tagId = 0x8822, .key = "ExposureProgram", .valueMap = "0:Unidentified,1:Manual,2:Normal,3:Aperture priority,4:Shutter priority,5:Creative(slow),6:Action(high-speed),7:Portrait mode,8:Landscape mode"},
    {.tagId = 0x8824, .key = "SpectralSensitivity"},
    {.tagId = 0x8825, .key = "GPSInfo"},
    {.tagId = 0x8827, .key = "ISOSpeedRatings"},
    {.tagId = 0x8828, .key = "OECF"},
    {.tagId = 0x8829, .key = "Interlace"},
    {.tagId = 0x882A, .key = "TimeZoneOffset"},
    {.tagId = 0x882B, .key = "SelfTimerMode"},
    {.tagId = 0x9000, .key = "ExifVersion"},
    {.tagId = 0x9003, .key = "DateTimeOriginal"},
    {.tagId = 0x9004, .key = "DateTimeDigitized"},
    {.tagId = 0x9010, .key = "OffsetTime"},
    {.tagId = 0x9011, .key = "OffsetTimeOriginal"},
    {.tagId = 0x9012, .key = "OffsetTimeDigitized"},
    {.tagId = 0x9101, .key = "ComponentsConfiguration", .formatter = RenderComponents},
    {.tagId = 0x9102, .key = "CompressedBitsPerPixel"},
    {.tagId = 0x9201, .key = "ShutterSpeedValue", .formatter = RenderShutterSpeed},
    {.tagId = 0x9202, .key = "ApertureValue", .formatText = "F%0.1f"},
    {.tagId = 0x9203, .key = "BrightnessValue"},
    {.tagId = 0x9204, .key = "ExposureBiasValue"},
    {.tagId = 0x9205, .key = "MaxApertureValue", .formatText = "F%0.1f"},
    {.tagId = 0x9206, .key = "SubjectDistance"},
    {.tagId = 0x9207, .key = "MeteringMode", .valueMap = "0:Unknown,1:Average,2:Center,3:Spot,4:MultiSpot,5:MultiSegment,6:Partial"},
    {.tagId = 0x9208, .key = "LightSource", .valueMap = "0:Unidentified,1:Daylight,2:Fluorescent,3:Tungsten,10:Flash,17:Std A,18:Std B,19:Std C"},
    {.tagId = 0x9209, .key = "Flash", .formatter = RenderFlash},
    {.tagId = 0x920A, .key = "FocalLength", .formatText = "%5.2f mm"},
    {.tagId = 0x920B, .key = "FlashEnergy"},
    {.tagId = 0x920C, .key = "SpatialFrequencyResponse"},
    {.tagId = 0x920D, .key = "Noise"},
    {.tagId = 0x920E, .key = "FocalPlaneXResolution"},
    {.tagId = 0x920F, .key = "FocalPlaneYResolution"},
    {.tagId = 0x9210, .key = "FocalPlaneResolutionUnit", .valueMap = "1:None Specified,2:Inch,3:Centimeter"},
    {.tagId = 0x9211, .key = "ImageNumber"},
    {.tagId = 0x9212, .key = "SecurityClassification"},
    {.tagId = 0x9213, .key = "ImageHistory"},
    {.tagId = 0x9214, .key = "SubjectLocation"},
    {.tagId = 0x9215, .key = "ExposureIndex"},
    {.tagId = 0x9216, .key = "TIFF/EPStandardID"},
    {.tagId = 0x9217, .key = "SensingMethod"},
    {.tagId = 0x923F, .key = "StoNits"},
    {.tagId = 0x927C, .key = "MakerNote"},
    {.tagId = 0x9286, .key = "UserComment", .formatter = RenderUserComment},
    {.tagId = 0x9290, .key = "SubSecTime"},
    {.tagId = 0x9291, .key = "SubSecTimeOriginal"},
    {.tagId = 0x9292, .key = "SubSecTimeDigitized"},
    {.tagId = 0x953C, .key = "ImageSourceData"},
    {.tagId = 0x9C9B, .key = "Title", .formatter = RenderXpText},
    {.tagId = 0x9C9C, .key = "Comments", .formatter = RenderXpText},
    {.tagId = 0x9C9D, .key = "Author", .formatter = RenderXpText},
    {.tagId = 0x9C9E, .key = "Keywords", .formatter = RenderXpText},
    {.tagId = 0x9C9F, .key = "Subject", .formatter = RenderXpText},
    {.tagId = 0xA000, .key = "FlashPixVersion"},
    {.tagId = 0xA001, .key = "ColorSpace", .valueMap = "0:sBW,1:sRGB"},
    {.tagId = 0xA002, .key = "ExifImageWidth"},
    {.tagId = 0xA003, .key = "ExifImageLength"},
    {.tagId = 0xA004, .key = "RelatedSoundFile"},
    {.tagId = 0xA005, .key = "InteroperabilityOffset"},
    {.tagId = 0xA20B, .key = "FlashEnergy"},
    {.tagId = 0xA20C, .key = "SpatialFrequencyResponse"},
    {.tagId = 0xA20E, .key = "FocalPlaneXResolution"},
    {.tagId = 0xA20F, .key = "FocalPlaneYResolution"},
    {.tagId = 0xA210, .key = "FocalPlaneResolutionUnit", .valueMap = "1:None Specified,2:Inch,3:Centimeter"},
    {.tagId = 0xA211, .key = "ImageNumber"},
    {.tagId = 0xA212, .key = "SecurityClassification"},
    {.tagId = 0xA213, .key = "ImageHistory"},
    {.tagId = 0xA214, .key = "SubjectLocation"},
    {.tagId = 0xA215, .key = "ExposureIndex"},
    {.tagId = 0xA216, .key = "TIFF/EPStandardID", .caption = "TIFF/EPStandardID"},
    {.tagId = 0xA217, .key = "SensingMethod", .valueMap = "0:Unknown,1:MonochromeArea,2:OneChipColorArea,3:TwoChipColorArea,4:ThreeChipColorArea,5:ColorSequentialArea,6:MonochromeLinear,7:TriLinear,8:ColorSequentialLinear"},
    {.tagId = 0xA300, .key = "FileSource", .valueMap = "1:Unknown,3:Digital Still Camera"},
    {.tagId = 0xA301, .key = "SceneType", .valueMap = "0:Unknown,1:Directly Photographed"},
    {.tagId = 0xA302, .key = "CFAPattern"},
    {.tagId = 0xA401, .key = "CustomRendered", .valueMap = "0:Normal process,1:Custom process"},
    {.tagId = 0xA402, .key = "ExposureMode", .valueMap = "0:Auto,1:Manual,2:Auto bracket"},
    {.tagId = 0xA403, .key = "WhiteBalance", .valueMap = "0:Auto,1:Manual"},
    {.tagId = 0xA404, .key = "DigitalZoomRatio"},
    {.tagId = 0xA405, .key = "FocalLengthin35mmFilm", .caption = "Focal Length in 35mm Film", .formatText = "%5.2f mm"},
    {.tagId = 0xA406, .key = "SceneCaptureType", .valueMap = "0:Standard,1:Landscape,2:Portrait,3:Night scene"},
    {.tagId = 0xA407, .key = "GainControl", .valueMap = "0:None,1:Low gain up,2:High gain up,3:Low gain down,4:High gain down"},
    {.tagId = 0xA408, .key = "Contrast", .valueMap = "0:Normal,1:Soft,2:Hard"},
    {.tagId = 0xA409, .key = "Saturation", .valueMap = "0:Normal,1:Low,2:High"},
    {.tagId = 0xA40A, .key = "Sharpness", .valueMap = "0:Normal,1:Soft,2:Hard"},
    {.tagId = 0xA40B, .key = "DeviceSettingDescription"},
    {.tagId = 0xA40C, .key = "SubjectDistanceRange", .valueMap = "0:Unknown,1:Macro,2:Close view,3:Distant view"},
    {.tagId = 0xA420, .key = "ImageUniqueID"},
};

TTagEntry fallbackRow = {.tagId = 0, .key = "Unknown"};

TTagEntry gpsTable[] = {
    {.tagId = 0x0000, .key = "GPSVersionID"},
    {.tagId = 0x0001, .key = "GPSLatitudeRef"},
    {.tagId = 0x0002, .key = "GPSLatitude", .formatter = RenderGpsCoordinate},
    {.tagId = 0x0003, .key = "GPSLongitudeRef"},
    {.tagId = 0x0004, .key = "GPSLongitude", .formatter = RenderGpsCoordinate},
    {.tagId = 0x0005, .key = "GPSAltitudeRef", .valueMap = "0:Sealevel"},
    {.tagId = 0x0006, .key = "GPSAltitude"},
    {.tagId = 0x0007, .key = "GPSTimeStamp", .formatter = RenderGpsTime},
    {.tagId = 0x0008, .key = "GPSSatellites"},
    {.tagId = 0x0009, .key = "GPSStatus"},
    {.tagId = 0x000A, .key = "GPSMeasureMode"},
    {.tagId = 0x000B, .key = "GPSDOP"},
    {.tagId = 0x000C, .key = "GPSSpeedRef"},
    {.tagId = 0x000D, .key = "GPSSpeed"},
    {.tagId = 0x000E, .key = "GPSTrackRef"},
    {.tagId = 0x000F, .key = "GPSTrack"},
    {.tagId = 0x0010, .key = "GPSImageDirectionRef"},
    {.tagId = 0x0011, .key = "GPSImageDirection"},
    {.tagId = 0x0012, .key = "GPSMapDatum"},
    {.tagId = 0x0013, .key = "GPSDestLatitudeRef"},
    {.tagId = 0x0014, .key = "GPSDestLatitude", .formatter = RenderGpsCoordinate},
    {.tagId = 0x0015, .key = "GPSDestLongitudeRef"},
    {.tagId = 0x0016, .key = "GPSDestLongitude", .formatter = RenderGpsCoordinate},
    {.tagId = 0x0017, .key = "GPSDestBearingkRef"},
    {.tagId = 0x0018, .key = "GPSDestBearing"},
    {.tagId = 0x0019, .key = "GPSDestDistanceRef"},
    {.tagId = 0x001A, .key = "GPSDestDistance"},
    {.tagId = 0x001B, .key = "GPSProcessingMode"},
    {.tagId = 0x001C, .key = "GPSAreaInformation"},
    {.tagId = 0x001D, .key = "GPSDateStamp"},
    {.tagId = 0x001E, .key = "GPSDifferential"},
};

bool descriptionsFilled = false;

void fillCaptions(std::span<TTagEntry> rows)
{
    for (TTagEntry& row : rows)
        if (row.caption.empty())
            row.caption = SpacedName(row.key);
}

}  // namespace

std::span<const TTagEntry> mainTagTable() { return mainTable; }
std::span<const TTagEntry> gpsTagTable() { return gpsTable; }
const TTagEntry& fallbackTagRow() { return fallbackRow; }

void FillDescriptions()
{
    if (descriptionsFilled)
        return;
    fillCaptions(mainTable);
    fillCaptions({&fallbackRow, 1});
    fillCaptions(gpsTable);
    descriptionsFilled = true;
}

namespace {

// The row of every tag number, per table: every entry of every file is looked
// up. Each table holds each number once, so its row is the only (and so the
// last) that matches.
class RowIndex {
public:
    explicit RowIndex(std::span<const TTagEntry> rows) : rows(rows)
    {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].tagId >= rowOf.size())
                rowOf.resize(rows[i].tagId + size_t{1}, kNone);
            rowOf[rows[i].tagId] = static_cast<uint16_t>(i);
        }
    }
    const TTagEntry& operator[](uint16_t tag) const
    {
        return tag >= rowOf.size() || rowOf[tag] == kNone ? fallbackRow : rows[rowOf[tag]];
    }

private:
    static constexpr uint16_t kNone = 0xFFFF;
    std::span<const TTagEntry> rows;
    std::vector<uint16_t> rowOf;  // up to the table's largest tag number
};

}  // namespace

const TTagEntry& tableRow(uint16_t tag, DirectoryKind kind)
{
    static const RowIndex mainRows(mainTable);
    static const RowIndex gpsRows(gpsTable);
    if (kind == DirectoryKind::Main)
        return mainRows[tag];
    if (kind == DirectoryKind::Gps)
        return gpsRows[tag];
    return fallbackRow;
}

TTagEntry LookupTableEntry(uint16_t tag, DirectoryKind kind)
{
    return tableRow(tag, kind);
}

int32_t TableIndexOfKey(const std::string& key)
{
    return indexOfKey(mainTable, key);
}

}  // namespace vistado
