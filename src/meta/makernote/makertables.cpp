#include "meta/makernote/makertables.h"

#include "meta/makernote/makernoteformat.h"

namespace vistado {

namespace {

// Each table lists its decoded tags first, then the tags the walk ignores.

const TTagEntry kNikonTiffHeaderTable[] = {
    {.tagId = 0x0001, .key = "FamilyID", .caption = "Family ID"},
    {.tagId = 0x0002, .key = "ISOSpeed", .caption = "ISO Speed"},
    {.tagId = 0x0003, .key = "ColorMode", .caption = "Color Mode"},
    {.tagId = 0x0004, .key = "Quality", .caption = "Quality"},
    {.tagId = 0x0005, .key = "WhiteBalance", .caption = "White Balance"},
    {.tagId = 0x0006, .key = "ImageSharpening", .caption = "Image Sharpening"},
    {.tagId = 0x0007, .key = "FocusMode", .caption = "Focus Mode"},
    {.tagId = 0x0008, .key = "FlashSetting", .caption = "Flash Setting"},
    {.tagId = 0x0009, .key = "AutoFlashMode", .caption = "Auto Flash Mode"},
    {.tagId = 0x000B, .key = "WhiteBiasValue", .caption = "White Bias Value"},
    {.tagId = 0x000F, .key = "DigitalZoom", .caption = "Digital Zoom"},
    {.tagId = 0x0080, .key = "ImageAdjustment", .caption = "Image Adjustment"},
    {.tagId = 0x0081, .key = "ImageAdjustment", .caption = "Image Adjustment"},
    {.tagId = 0x0082, .key = "Adapter", .caption = "Adapter"},
    {.tagId = 0x0084, .key = "LensInformation", .caption = "Lens information", .formatter = FormatNikonLens},
    {.tagId = 0x0085, .key = "ManualFocusDistance", .caption = "Manual Focus Distance"},
    {.tagId = 0x0086, .key = "DigitalZoom", .caption = "Digital Zoom"},
    {.tagId = 0x0088, .key = "FocusArea", .caption = "Focus Area"},
    {.tagId = 0x0089, .key = "Mode", .caption = "Mode"},
    {.tagId = 0x008D, .key = "ColorMode", .caption = "Color Mode", .formatter = FormatNikonColorMode},
    {.tagId = 0x008F, .key = "SceneMode", .caption = "Scene Mode"},
    {.tagId = 0x0092, .key = "HueAdjustment", .caption = "Hue Adjustment"},
    {.tagId = 0x0094, .key = "Saturation", .caption = "Saturation"},
    {.tagId = 0x0095, .key = "NoiseReduction", .caption = "Noise Reduction"},
    {.tagId = 0x000A, .caption = "Skip"},
    {.tagId = 0x0010, .caption = "Skip"},
    {.tagId = 0x0011, .caption = "Skip"},
    {.tagId = 0x0F00, .caption = "Skip"},
};

const TTagEntry kNikonHeaderTable[] = {
    {.tagId = 0x0002, .key = "FamilyID", .caption = "FamilyID"},
    {.tagId = 0x0003, .key = "Quality", .caption = "Quality",
     .valueMap = "1:Vga Basic,2:Vga Normal,3:Vga Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine,"
                 "10:2 Mpixel Basic,11:2 Mpixel Normal,12:2 Mpixel Fine"},
    {.tagId = 0x0004, .key = "ColorMode", .caption = "ColorMode", .valueMap = "1:Color,2:Monochrome"},
    {.tagId = 0x0005, .key = "ImageAdjustment", .caption = "ImageAdjustment",
     .valueMap = "0:Normal,1:Bright+,2:Bright-,3:Contrast+,4:Contrast-"},
    {.tagId = 0x0006, .key = "ISOSpeed", .caption = "ISOSpeed", .valueMap = "0:ISO80,2:ISO160,4:ISO320,5:ISO100"},
    {.tagId = 0x0007, .key = "WhiteBalance", .caption = "WhiteBalance",
     .valueMap = "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight"},
    {.tagId = 0x0008, .key = "Focus", .caption = "Focus"},
    {.tagId = 0x000A, .key = "DigitalZoom", .caption = "DigitalZoom"},
    {.tagId = 0x000B, .key = "Converter", .caption = "Converter", .valueMap = "0:Not used,1:Used"},
    {.tagId = 0x0009, .caption = "Skip"},
    {.tagId = 0x0F00, .caption = "Skip"},
};

const TTagEntry kOlympusTable[] = {
    {.tagId = 0x0200, .key = "SpecialMode", .caption = "SpecialMode"},
    {.tagId = 0x0201, .key = "JpegQual", .caption = "JpegQual", .valueMap = "1:SQ,2:HQ,3:SHQ,4:Raw"},
    {.tagId = 0x0202, .key = "Macro", .caption = "Macro", .valueMap = "0:Normal,1:Macro"},
    {.tagId = 0x0204, .key = "DigiZoom", .caption = "Digital Zoom Ratio"},
    {.tagId = 0x0207, .key = "Firmware", .caption = "Firmware"},
    {.tagId = 0x0208, .key = "PictInfo", .caption = "Picture Info"},
    {.tagId = 0x0209, .key = "CameraID", .caption = "Camera ID"},
    {.tagId = 0x1004, .key = "FlashMode", .caption = "Flash Mode"},
    {.tagId = 0x1006, .key = "Bracket", .caption = "Bracket"},
    {.tagId = 0x100B, .key = "FocusMode", .caption = "Focus Mode"},
    {.tagId = 0x100C, .key = "FocusDistance", .caption = "Focus Distance"},
    {.tagId = 0x100D, .key = "Zoom", .caption = "Zoom"},
    {.tagId = 0x100E, .key = "MacroFocus", .caption = "Macro Focus"},
    {.tagId = 0x100F, .key = "Sharpness", .caption = "Sharpness"},
    {.tagId = 0x1011, .key = "ColorMatrix", .caption = "Color Matrix"},
    {.tagId = 0x1012, .key = "BlackLevel", .caption = "Black Level"},
    {.tagId = 0x1015, .key = "WhiteBalance", .caption = "White Balance"},
    {.tagId = 0x1017, .key = "RedBias", .caption = "Red Bias"},
    {.tagId = 0x1018, .key = "BlueBias", .caption = "Blue Bias"},
    {.tagId = 0x101A, .key = "SerialNumber", .caption = "SerialNumber"},
    {.tagId = 0x1023, .key = "FlashBias", .caption = "Flash Bias"},
    {.tagId = 0x1029, .key = "Contrast", .caption = "Contrast"},
    {.tagId = 0x102A, .key = "SharpnessFactor", .caption = "Sharpness Factor"},
    {.tagId = 0x102B, .key = "ColorControl", .caption = "Color Control"},
    {.tagId = 0x102C, .key = "ValidBits", .caption = "Valid Bits"},
    {.tagId = 0x102D, .key = "Coring", .caption = "Coring Filter"},
    {.tagId = 0x102E, .key = "FinalWidth", .caption = "Final Width"},
    {.tagId = 0x102F, .key = "FinalHeight", .caption = "Final Height"},
    {.tagId = 0x1034, .key = "CompressionRatio", .caption = "Compression Ratio"},
    {.tagId = 0x0203, .caption = "Skip"},
    {.tagId = 0x0205, .caption = "Skip"},
    {.tagId = 0x0206, .caption = "Skip"},
    {.tagId = 0x0F00, .caption = "Skip"},
};

const TTagEntry kCasioTable[] = {
    {.tagId = 0x0001, .key = "RecordingMode", .caption = "RecordingMode",
     .valueMap = "1:Single Shutter,2:Panorama,3:Night Scene,4:Portrait,5:Landscape"},
    {.tagId = 0x0002, .key = "Quality", .caption = "Quality", .valueMap = "1:Economy,2:Normal,3:Fine"},
    {.tagId = 0x0003, .key = "FocusingMode", .caption = "FocusingMode",
     .valueMap = "2:Macro,3:Auto Focus,4:Manual Focus,5:Infinity"},
    {.tagId = 0x0004, .key = "FlashMode", .caption = "FlashMode", .valueMap = "1:Auto,2:On,3:Off,4:Red Eye Reduction"},
    {.tagId = 0x0005, .key = "FlashIntensity", .caption = "FlashIntensity", .valueMap = "11:Weak,13:Normal,15:Strong"},
    {.tagId = 0x0006, .key = "ObjectDistance", .caption = "ObjectDistance"},
    {.tagId = 0x0007, .key = "WhiteBalance", .caption = "WhiteBalance",
     .valueMap = "1:Auto,2:Tungsten,3:Daylight,4:Fluorescent,5:Shade,129:Manual"},
    {.tagId = 0x000A, .key = "DigitalZoom", .caption = "DigitalZoom", .valueMap = "65536:Off,65537:2X Digital Zoom"},
    {.tagId = 0x000B, .key = "Sharpness", .caption = "Sharpness", .valueMap = "0:Normal,1:Soft,2:Hard"},
    {.tagId = 0x000C, .key = "Contrast", .caption = "Contrast", .valueMap = "0:Normal,1:Low,2:High"},
    {.tagId = 0x000D, .key = "Saturation", .caption = "Saturation", .valueMap = "0:Normal,1:Low,2:High"},
    {.tagId = 0x0014, .key = "CCDSensitivity", .caption = "CCDSensitivity",
     .valueMap = "64:Normal,125:+1.0,250:+2.0,244:+3.0,80:Normal,100:High"},
    {.tagId = 0x0008, .caption = "Skip"},
    {.tagId = 0x0009, .caption = "Skip"},
    {.tagId = 0x000E, .caption = "Skip"},
    {.tagId = 0x000F, .caption = "Skip"},
    {.tagId = 0x0010, .caption = "Skip"},
    {.tagId = 0x0011, .caption = "Skip"},
    {.tagId = 0x0012, .caption = "Skip"},
    {.tagId = 0x0013, .caption = "Skip"},
    {.tagId = 0x0015, .caption = "Skip"},
    {.tagId = 0x0016, .caption = "Skip"},
    {.tagId = 0x0017, .caption = "Skip"},
    {.tagId = 0x0018, .caption = "Skip"},
    {.tagId = 0x0019, .caption = "Skip"},
    {.tagId = 0x001A, .caption = "Skip"},
};

const TTagEntry kCasioQvcTable[] = {
    {.tagId = 0x0002, .key = "ThumbnailDimensions", .caption = "Thumbnail Dimensions"},
    {.tagId = 0x0003, .key = "ThumbnailSize", .caption = "Thumbnail Size"},
    {.tagId = 0x0004, .key = "ThumbnailOffset", .caption = "Thumbnail OffSet"},
    {.tagId = 0x0008, .key = "Quality", .caption = "Quality", .valueMap = "1:Fine,2:Super Fine"},
    {.tagId = 0x0009, .key = "ImageSize", .caption = "ImageSize",
     .valueMap = "0:640 x 480,4:1600 x 1200,5:2048 x 1536,20:2288 x 1712,21:2592 x 1944,22:2304 x 1728,"
                 "36:3008 x 2008"},
    {.tagId = 0x000D, .key = "FocusMode", .caption = "FocusMode", .valueMap = "0:Normal,1:Macro"},
    {.tagId = 0x0014, .key = "IsoSensitivity", .caption = "IsoSensitivity", .valueMap = "3:50,4:64,6:100,9:200"},
    {.tagId = 0x0019, .key = "WhiteBalance", .caption = "WhiteBalance",
     .valueMap = "0:Auto,1:Daylight,2:Shade,3:Tungsten,4:Fluorescent,5:Manual"},
    {.tagId = 0x001D, .key = "FocalLength", .caption = "Focal Length (.1 mm)"},
    {.tagId = 0x001F, .key = "Saturation", .caption = "Saturation", .valueMap = "0:-1,1:Normal,2:+1"},
    {.tagId = 0x0020, .key = "Contrast", .caption = "Contrast", .valueMap = "0:-1,1:Normal,2:+1"},
    {.tagId = 0x0021, .key = "Sharpness", .caption = "Sharpness", .valueMap = "0:-1,1:Normal,2:+1"},
    {.tagId = 0x0E00, .key = "PIM", .caption = "Print Image Matching Info"},
    {.tagId = 0x2011, .key = "WhiteBalanceBias", .caption = "White Balance Bias"},
    {.tagId = 0x2012, .key = "WhiteBalance", .caption = "White Balance", .valueMap = "0:Manual,1:Auto,4:Flash,12:Flash"},
    {.tagId = 0x2022, .key = "ObjectDistance", .caption = "Object Distance (mm)"},
    {.tagId = 0x2034, .key = "FlashDistance", .caption = "Flash Distance"},
    {.tagId = 0x3000, .key = "RecordMode", .caption = "Record Mode", .valueMap = "2:Normal"},
    {.tagId = 0x3001, .key = "SelfTimer", .caption = "Self Timer", .valueMap = "0:Off,1:On"},
    {.tagId = 0x3002, .key = "Quality", .caption = "Quality", .valueMap = "1:Economy,2:Normal,3:Fine"},
    {.tagId = 0x3003, .key = "FocusMode", .caption = "Focus Mode",
     .valueMap = "1:Fixed,3:Auto Focus,6:Multi-Area Auto Focus"},
    {.tagId = 0x3006, .key = "TimeZone", .caption = "Time Zone"},
    {.tagId = 0x3007, .key = "BestshotMode", .caption = "Bestshot Mode", .valueMap = "0:Off,1:On"},
    {.tagId = 0x3014, .key = "CCDSensitivity", .caption = "CCD Sensitivity"},
    {.tagId = 0x3015, .key = "ColorMode", .caption = "Color Mode", .valueMap = "0:Off,1:On"},
    {.tagId = 0x3016, .key = "Enhancement", .caption = "Enhancement", .valueMap = "0:Off,1:On"},
    {.tagId = 0x3017, .key = "Filter", .caption = "Filter", .valueMap = "0:Off,1:On"},
    {.tagId = 0x2000, .caption = "Skip"},
    {.tagId = 0x2001, .caption = "Skip"},
    {.tagId = 0x2002, .caption = "Skip"},
    {.tagId = 0x2003, .caption = "Skip"},
    {.tagId = 0x2013, .caption = "Skip"},
    {.tagId = 0x2021, .caption = "Skip"},
    {.tagId = 0x2023, .caption = "Skip"},
    {.tagId = 0x2031, .caption = "Skip"},
    {.tagId = 0x2032, .caption = "Skip"},
    {.tagId = 0x2033, .caption = "Skip"},
    {.tagId = 0x3005, .caption = "Skip"},
    {.tagId = 0x3011, .caption = "Skip"},
    {.tagId = 0x3012, .caption = "Skip"},
    {.tagId = 0x3013, .caption = "Skip"},
    {.tagId = 0x3018, .caption = "Skip"},
    {.tagId = 0x3019, .caption = "Skip"},
    {.tagId = 0x301A, .caption = "Skip"},
    {.tagId = 0x301B, .caption = "Skip"},
};

const TTagEntry kFujiTable[] = {
    {.tagId = 0x0000, .key = "Version", .caption = "Version"},
    {.tagId = 0x1000, .key = "Quality", .caption = "Quality"},
    {.tagId = 0x1001, .key = "Sharpness", .caption = "Sharpness", .valueMap = "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard"},
    {.tagId = 0x1002, .key = "WhiteBalance", .caption = "WhiteBalance",
     .valueMap = "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,"
                 "770:White-fluorescence,1024:Incandenscense,3840:Custom white balance."},
    {.tagId = 0x1003, .key = "Color", .caption = "Color", .valueMap = "0:Normal,256:High,512:Low"},
    {.tagId = 0x1004, .key = "Tone", .caption = "Tone", .valueMap = "0:Normal,256:High,512:Low"},
    {.tagId = 0x1010, .key = "FlashMode", .caption = "FlashMode", .valueMap = "0:Auto,1:On,2:Off,3:Red-eye reduction"},
    {.tagId = 0x1011, .key = "FlashStrength", .caption = "FlashStrength"},
    {.tagId = 0x1020, .key = "Macro", .caption = "Macro", .valueMap = "0:Off,1:On"},
    {.tagId = 0x1021, .key = "Focusmode", .caption = "Focusmode", .valueMap = "0:Auto Focus,1:Manual Focus"},
    {.tagId = 0x1030, .key = "SlowSync", .caption = "SlowSync", .valueMap = "0:Off,1:On"},
    {.tagId = 0x1031, .key = "PictureMode", .caption = "PictureMode",
     .valueMap = "0:Auto,1:Portrait scene,2:Landscape scene,4:Sports scene,5:Night scene,6:Program AE,"
                 "256:Aperture prior AE,512:Shutter prior AE,768:Manual exposure"},
    {.tagId = 0x1100, .key = "ContTake/Bracket", .caption = "ContTake/Bracket", .valueMap = "0:Off,1:On"},
    {.tagId = 0x1300, .key = "BlurWarning", .caption = "BlurWarning", .valueMap = "0:No blur warning,1:Blur warning"},
    {.tagId = 0x1301, .key = "FocusWarning", .caption = "FocusWarning", .valueMap = "0:Auto Focus good,1:Out of focus"},
    {.tagId = 0x1302, .key = "AEWarning", .caption = "AEWarning", .valueMap = "0:AE good,1:Over exposure"},
    {.tagId = 0x1032, .caption = "Skip"},
    {.tagId = 0x1200, .caption = "Skip"},
};

const TTagEntry kCanonTable[] = {
    {.tagId = 0x0001, .key = "ExposureInfo1", .caption = "ExposureInfo1", .formatter = FormatCanonSettings},
    {.tagId = 0x0004, .key = "ExposureInfo2", .caption = "ExposureInfo2", .formatter = FormatCanonShotInfo},
    {.tagId = 0x0006, .key = "ImageType", .caption = "ImageType"},
    {.tagId = 0x0007, .key = "FirmwareVersion", .caption = "FirmwareVersion"},
    {.tagId = 0x0008, .key = "ImageNumber", .caption = "ImageNumber"},
    {.tagId = 0x0009, .key = "OwnerName", .caption = "OwnerName"},
    {.tagId = 0x000C, .key = "CameraSerialNumber", .caption = "CameraSerialNumber"},
    {.tagId = 0x000F, .key = "CustomFunctions", .caption = "CustomFunctions",
     .formatter = FormatCanonCustomFunctions},
    {.tagId = 0x0000, .caption = "Skip"},
    {.tagId = 0x0002, .caption = "Skip"},
    {.tagId = 0x0003, .caption = "Skip"},
    {.tagId = 0x000A, .caption = "Skip"},
    {.tagId = 0x000B, .caption = "Skip"},
    {.tagId = 0x000D, .caption = "Skip"},
    {.tagId = 0x000E, .caption = "Skip"},
    {.tagId = 0x0010, .caption = "Skip"},
};

const TTagEntry kEpsonTable[] = {
    {.tagId = 0x0200, .key = "Special Mode", .caption = "Special Mode"},
    {.tagId = 0x0201, .key = "JpegQuality", .caption = "JpegQuality"},
    {.tagId = 0x0202, .key = "Macro", .caption = "Macro"},
    {.tagId = 0x0204, .key = "DigiZoom", .caption = "DigiZoom"},
    {.tagId = 0x0209, .key = "CameraID", .caption = "CameraID"},
    {.tagId = 0x020A, .key = "Comments", .caption = "Comments"},
    {.tagId = 0x020B, .key = "Width", .caption = "Width"},
    {.tagId = 0x020C, .key = "Height", .caption = "Height"},
    {.tagId = 0x020D, .key = "SoftRelease", .caption = "SoftRelease"},
    {.tagId = 0x0300, .key = "??", .caption = "??"},
    {.tagId = 0x0203, .caption = "Skip"},
    {.tagId = 0x0F00, .caption = "skip"},
};

const TTagEntry kSanyoTable[] = {
    {.tagId = 0x0200, .key = "Special Mode", .caption = "Special Mode"},
    {.tagId = 0x0201, .key = "JpegQuality", .caption = "JpegQuality"},
    {.tagId = 0x0202, .key = "Macro", .caption = "Macro"},
    {.tagId = 0x0204, .key = "DigiZoom", .caption = "DigiZoom"},
    {.tagId = 0x0F00, .key = "DataDump", .caption = "DataDump"},
    {.tagId = 0x0203, .caption = "Skip"},
};

const TTagEntry kMinoltaTable[] = {
    {.tagId = 0x0000, .key = "ModelID", .caption = "ModelID"},
    {.tagId = 0x0E00, .key = "PIMdata", .caption = "PIMdata"},
};

}  // namespace

std::span<const TTagEntry> nikonTiffHeaderTable() { return kNikonTiffHeaderTable; }
std::span<const TTagEntry> nikonHeaderTable() { return kNikonHeaderTable; }
std::span<const TTagEntry> olympusTable() { return kOlympusTable; }
std::span<const TTagEntry> casioTable() { return kCasioTable; }
std::span<const TTagEntry> casioQvcTable() { return kCasioQvcTable; }
std::span<const TTagEntry> fujiTable() { return kFujiTable; }
std::span<const TTagEntry> canonTable() { return kCanonTable; }
std::span<const TTagEntry> epsonTable() { return kEpsonTable; }
std::span<const TTagEntry> sanyoTable() { return kSanyoTable; }
std::span<const TTagEntry> minoltaTable() { return kMinoltaTable; }

}  // namespace vistado
