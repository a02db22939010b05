#include "meta/makernote/makernoteformat.h"

#include "meta/text/asciitext.h"
#include "meta/makernote/listfields.h"
#include "meta/makernote/makernote.h"
#include "meta/text/numbertext.h"
#include "meta/text/settings.h"
#include "meta/text/valuerender.h"

namespace vistado {

namespace {

const std::string kFieldSeparator = ",";
constexpr uint16_t kDerivedType = 2;  // derived values are texts

enum class ItemKind { Plain, Mapped };

// One labelled item of a Canon list: the field at position (counted from 0),
// shown as it stands or through its value map.
struct CanonItem {
    const char* label;
    int position;
    ItemKind kind;
    const char* valueMap;
};

// "Self Timer" reads the field of "Macro mode"; stored reports show it so.
// The maps of "Metering Mode", "AF Point", "Exposure Mode" and the second
// "Focus Mode" are Canon's camera-settings record as Canon's cameras write
// it: the setting numbers of that record, named as the cameras' manuals name
// the settings.
constexpr CanonItem kSettingsItems[] = {
    {"Macro mode", 1, ItemKind::Mapped, "1:Macro,2:Normal"},
    {"Self Timer", 1, ItemKind::Plain, ""},
    {"Compression Rate", 3, ItemKind::Mapped, "0:SuperFine,1:Fine,2:Normal,3:Basic,5:SuperFine"},
    {"Flash Mode", 4, ItemKind::Mapped,
     "0:Not fired,1:Auto,2:On,3:Red-eye,4:Slow sync,5:Auto+red-eye,6:On+red eye,16:External flash"},
    {"Drive Mode", 5, ItemKind::Mapped, "0:Single,1:Continuous"},
    {"Focus Mode", 7, ItemKind::Mapped, "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {"Image Size", 10, ItemKind::Mapped, "0:Large,1:Medium,2:Small,4:5MPixel,5:2 MPixel,6:1.5 MPixel"},
    {"Easy Shoot", 11, ItemKind::Mapped,
     "0:Full Auto,1:Manual,2:Landscape,3:Fast Shutter,4:Slow Shutter,5:Night,6:B&W,7:Sepia,8:Portrait,"
     "9:Sports,10:Macro/Close-Up,11:Pan Focus"},
    {"Contrast", 13, ItemKind::Mapped, "65535:Low,0:Normal,1:High"},
    {"Saturation", 14, ItemKind::Mapped, "65535:Low,0:Normal,1:High"},
    {"Sharpness", 15, ItemKind::Mapped, "65535:Low,0:Normal,1:High"},
    {"CCD ISO", 16, ItemKind::Mapped, "0:Not used,15:auto,16:50,17:100,18:200,19:400"},
    {"Metering Mode", 17, ItemKind::Mapped,
     "0:Default,1:Spot,2:Average,3:Evaluative,4:Partial,5:Center-weighted average"},
    {"AF Point", 19, ItemKind::Mapped,
     "8197:Manual AF point selection,12288:None (MF),12289:Auto AF point selection,12290:Right,"
     "12291:Center,12292:Left,16385:Auto AF point selection,16390:Face Detect"},
    {"Exposure Mode", 20, ItemKind::Mapped,
     "0:Easy shooting,1:Program AE,2:Shutter speed priority AE,3:Aperture-priority AE,4:Manual,"
     "5:Depth-of-field AE,6:M-Dep,7:Bulb"},
    {"Long focal", 23, ItemKind::Plain, ""},
    {"Short focal", 24, ItemKind::Plain, ""},
    {"Focal Units", 25, ItemKind::Plain, ""},
    {"Flash Details", 28, ItemKind::Plain, ""},
    {"Focus Mode", 32, ItemKind::Mapped, "0:Single,1:Continuous,8:Manual"},
};

constexpr CanonItem kShotInfoItems[] = {
    {"White balance", 7, ItemKind::Mapped, "0:Auto,1:Sunny,2:Cloudy,3:Tungsten,4:Flourescent,5:Flash,6:Custom"},
    {"Sequence Number", 8, ItemKind::Plain, ""},
    {"OpticalZoom Step", 10, ItemKind::Plain, ""},
    {"AF point", 13, ItemKind::Plain, ""},
    {"Flash bias", 15, ItemKind::Mapped,
     "65472:-2 EV,65484:-1.67 EV,65488:-1.50 EV,65492:-1.33 EV,65504:-1 EV,65516:-0.67 EV,65520:-0.50 EV,"
     "65524:-0.33 EV,0:0 EV,12:0.33 EV,16:0.50 EV,20:0.67 EV,32:1 EV,44:1.33 EV,48:1.50 EV,52:1.67 EV,"
     "64:2 EV"},
    {"Distance", 18, ItemKind::Plain, ""},
};

// A camera writes one value per function and a byte count in front: no list
// of its holds more fields than a rendered value shows (128).
constexpr size_t kMostCustomFunctionFields = 128;

struct CustomFunction {
    const char* label;
    const char* valueMap;
};

// Functions 1 to 15. The maps stand as stored reports show them: a map item
// without a comma in front ("Enabled1:") is never found, and a text that holds
// a comma is cut there.
constexpr CustomFunction kCustomFunctions[] = {
    {"Noise Reduction", "0: Off,1: On"},
    {"Shutter AE Lock Button", "0:AF/AE lock,1:AE lock/AF,2:AF/AF lock,3:AE+release/AE+AF"},
    {"Mirror Lockup", "0:Disable,1:Enable"},
    {"Exposure Level", "0:1/2 stop,1:1/3 stop"},
    {"AF Assist", "0:On (auto),1:Off"},
    {"AV Shutter Speed", "0:Automatic,1: 1/200 (fixed)"},
    {"AEB Sequence", "0:0, -, + / Enabled1: 0, -, + / Disabled,2: -, 0, + / Enabled,3: -, 0, + / Disabled"},
    {"Shutter Sync", "0:1st-curtain sync,1: 2nd-curtain sync"},
    {"Lens AF Button", "0:AF stop,1:Operate AF,2:Lock AE and start timer"},
    {"Fill Flash Reduction", "0:Enable,1:Disable"},
    {"Menu Return", "0:Top,1:Previous (volatile),2:Previous"},
    {"Set Button", "0:Not assigned,1:Change quality,2:Change ISO speed,3:Select parameters"},
    {"Sensor Cleaning", "0:Disable,1:Enable"},
    {"Superimposed Display", "0: On,1: Off"},
    {"Shutter Release w/o CF Card", "0:Enable,1:Disable"},
};

// The line of one item, its value stored as a derived entry of the note
// being walked.
std::string itemLine(const std::string& label, const std::string& value)
{
    if (trimText(value).empty())
        return {};
    if (MakerNote* note = currentMakerNote())
        note->AddDerivedTag(label, value, kDerivedType);
    return "\r\n" + label + " = " + value;
}

template <size_t N>
std::string decodeItems(const std::string& list, const CanonItem (&items)[N])
{
    setFormatterExpansion(true);
    std::string lines;
    for (const CanonItem& item : items)
        lines += item.kind == ItemKind::Plain
            ? DecodePlainItem(list, item.label, item.position)
            : DecodeMappedItem(list, item.label, item.position, item.valueMap);
    return lines;
}

}  // namespace

std::vector<std::string> makerNoteFormatterLabels()
{
    std::vector<std::string> labels;
    for (const CanonItem& item : kSettingsItems)
        labels.emplace_back(item.label);
    for (const CanonItem& item : kShotInfoItems)
        labels.emplace_back(item.label);
    for (const CustomFunction& function : kCustomFunctions)
        labels.emplace_back(function.label);
    return labels;
}

std::string DecodePlainItem(const std::string& list, const std::string& label, int position)
{
    return itemLine(label, ListField(list, kFieldSeparator, position + 1));
}

std::string DecodeMappedItem(const std::string& list, const std::string& label, int position,
                             const std::string& valueMap)
{
    return itemLine(label, MapLookup(valueMap, ListField(list, kFieldSeparator, position + 1)));
}

std::string DecodeCustomFunction(const std::string& label, int value, const std::string& valueMap)
{
    return itemLine(label, MapLookup(valueMap, std::to_string(value)));
}

std::string FormatCanonSettings(const std::string& text)
{
    return decodeItems(text, kSettingsItems);
}

std::string FormatCanonShotInfo(const std::string& text)
{
    return decodeItems(text, kShotInfoItems);
}

// Each value holds a function number in its high byte and the setting in its
// low byte; the first value, a byte count, reads as function 0 and shows
// nothing. Fields that are no integers are passed over.
std::string FormatCanonCustomFunctions(const std::string& text)
{
    setFormatterExpansion(true);
    if (CountSeparators(text, kFieldSeparator) == 0)
        return {};
    std::string lines;
    for (const std::string& field : ListFields(text, kFieldSeparator, kMostCustomFunctionFields)) {
        const auto value = parseInteger(field);
        if (!value)
            continue;
        const int64_t function = *value / 256;
        const int64_t setting = *value - 256 * function;
        if (function < 1 || function > static_cast<int64_t>(std::size(kCustomFunctions)))
            continue;
        const CustomFunction& entry = kCustomFunctions[function - 1];
        lines += DecodeCustomFunction(entry.label, static_cast<int>(setting), entry.valueMap);
    }
    return lines;
}

}  // namespace vistado
