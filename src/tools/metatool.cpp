// vistado-meta: prints what the metadata engine reads from image files, for
// users and for checking the engine against other programs.

#include "meta/exif/gpsposition.h"
#include "meta/container/imgdata.h"
#include "meta/container/photolocation.h"
#include "meta/iptc/iptc.h"
#include "meta/text/settings.h"
#include "meta/xmp/xmplocation.h"
#include "places/ansitext.h"
#include "places/offlineplaces.h"
#include "places/placefields.h"
#include "places/placereply.h"
#include "places/placetext.h"
#include "places/positiontext.h"

#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>
#include <langinfo.h>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vistado {
namespace {

// Engine texts end their lines with CR LF; a terminal wants LF.
std::string unixLines(const std::string& text)
{
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    return lines;
}

// A value on one line: control characters shown as ".".
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = '.';
    return text;
}

void printSummary(const TimgData& image)
{
    if (image.exifDecoder)
        std::cout << unixLines(image.exifDecoder->SummaryText());
    std::cout << '\n';
}

void printTags(const TimgData& image)
{
    if (!image.exifDecoder)
        return;
    for (const TTagEntry& tag : image.exifDecoder->tags())
        std::cout << tag.key << '\t' << oneLine(tag.text) << '\n';
}

// The report lines each begin with a line end; the first one is left out.
void printReport(const TimgData& image)
{
    if (!image.exifDecoder)
        return;
    std::string report =
        unixLines(image.exifDecoder->reportText + image.exifDecoder->makerNoteReport());
    if (!report.empty() && report[0] == '\n')
        report.erase(0, 1);
    std::cout << report << '\n';
}

void printGps(const TimgData& image)
{
    if (image.ExifPresent() && image.exifDecoder)
        std::cout << gpsPositionText(*image.exifDecoder);
    std::cout << '\n';
}

// The offline place of the file's GPS position, as the place run finds it.
std::optional<PlaceMatch> offlinePlaceOf(const TimgData& image)
{
    std::optional<Position> at;
    if (image.ExifPresent() && image.exifDecoder)
        at = parsePositionText(gpsPositionText(*image.exifDecoder));
    if (!at)
        return std::nullopt;
    static OfflinePlaces places;
    return places.nearest(*at);
}

// The place text the place run would put in front of the comment, found by
// the same offline lookup: the same reply, scanned the same way, names in the
// language and character set of the user's locale.
void printPlace(const TimgData& image)
{
    std::istringstream reply(placeReplyText(offlinePlaceOf(image)));
    std::cout << placeTextFromReply(reply, nl_langinfo(CODESET)) << '\n';
}

// --place --write: the offline place into the file's IPTC and XMP location fields, as the
// place run writes them, unless it holds some already; what became of them on standard
// error. 1 when they could not be written.
int writePlaceFields(TimgData& image, const std::string& file)
{
    const std::optional<PlaceMatch> match = offlinePlaceOf(image);
    if (!match)
        return 0;
    const auto say = [&](const std::string& text) {
        std::cerr << file << ": " << utf8ToAnsi(text, nl_langinfo(CODESET)) << std::endl;
    };
    PhotoLocation location(image);
    if (location.present()) {
        say("Ortsfelder vorhanden");
        return 0;
    }
    try {
        const std::string note = location.writeInto(image, placeFieldsOf(match->place));
        image.SaveJpeg(image.sourcePath);
        if (!note.empty())
            say(note);
        return 0;
    } catch (const EFieldsNotWritable& refused) {
        say(std::string("Ortsfelder nicht geschrieben: ") + refused.what());
    } catch (const std::exception& failed) {
        say(failed.what());
    }
    return 1;
}

// The XMP location properties the file holds, by ExifTool's names, values in UTF-8.
std::vector<std::pair<std::string, std::string>> xmpLocation(const TimgData& image)
{
    std::vector<std::pair<std::string, std::string>> properties;
    const std::vector<std::string> values = PhotoLocation(image).xmpValues();
    for (size_t i = 0; i < values.size(); ++i)
        if (!values[i].empty())
            properties.emplace_back(kXmpLocationProperties[i].name, values[i]);
    return properties;
}

void printXmp(const TimgData& image)
{
    for (const auto& [name, value] : xmpLocation(image))
        std::cout << name << '\t' << oneLine(utf8ToAnsi(value, nl_langinfo(CODESET))) << '\n';
}

// The records of the file's IPTC section, in their order; none without one.
std::vector<TTagEntry> iptcRecords(const TimgData& image)
{
    std::vector<TTagEntry> list;
    if (!image.iptcList)
        return list;
    TIPTCdata& records = *image.iptcList;
    records.ParseSegment(image.iptcSection->bytes);
    for (int32_t i = 0; i < records.RecordCount(); ++i)
        list.push_back(records.RecordAt(i));
    return list;
}

void printIptc(const TimgData& image)
{
    for (const TTagEntry& record : iptcRecords(image))
        std::cout << record.key << '\t' << oneLine(record.text) << '\n';
}

// The comment's bytes as they stand.
void printComment(const TimgData& image)
{
    std::cout << image.CommentText() << '\n';
}

// Replaces the comment and rewrites the file in place, as the place run does.
void writeComment(TimgData& image, const std::string& text)
{
    image.DropCommentAndHeader();
    image.SetCommentText(text);
    image.SaveJpeg(image.sourcePath);
}

// Why OpenImage could not read a file.
std::string readFailure(const TimgData& image)
{
    return image.errorText.empty() ? "not found" : image.errorText;
}

// The stored tags of every file as one JSON array, an object per file: "SourceFile", then
// each tag by its name with its text, in the order --tags prints them; of two tags of one
// name the first, as lookups by name find it; then the IPTC records the same way, as
// "IPTC:" and the key (Exif and IPTC share names). A file that cannot be read gets "Error".
// JSON wants UTF-8: texts are converted from the locale's character set, and bytes that
// are no character there become U+FFFD.
int printJson(const std::vector<std::string>& files)
{
    const std::string charset = nl_langinfo(CODESET);
    const auto utf8 = [&](const std::string& text) { return ansiToUtf8(text, charset); };
    int status = 0;
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    TimgData image(kDecodeAll);
    for (const std::string& file : files) {
        nlohmann::ordered_json object = {{"SourceFile", utf8(file)}};
        if (!image.OpenImage(file)) {
            std::cerr << file << ": " << readFailure(image) << std::endl;
            object["Error"] = utf8(readFailure(image));
            status = 1;
        } else {
            const auto add = [&](const std::string& name, const std::string& text) {
                if (!object.contains(utf8(name)))
                    object[utf8(name)] = utf8(text);
            };
            if (image.exifDecoder)
                for (const TTagEntry& tag : image.exifDecoder->tags())
                    add(tag.key, tag.text);
            for (const TTagEntry& record : iptcRecords(image))
                add("IPTC:" + record.key, record.text);
        }
        if (image.errorText == "<none>")
            for (const auto& [name, value] : xmpLocation(image))
                object[name] = value;
        all.push_back(std::move(object));
    }
    std::cout << all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << std::endl;
    return status;
}

struct Mode {
    const char* option;  // nullptr: the mode without an option
    const char* help;
    void (*print)(const TimgData& image);
    // A mode that changes each file instead, given the text that follows the option.
    void (*change)(TimgData& image, const std::string& text) = nullptr;
    const char* textName = nullptr;
    // A mode that prints for all files at once, giving the exit status.
    int (*printAll)(const std::vector<std::string>& files) = nullptr;
    // What the read decodes: a mode that shows no Exif tag but the position decodes only that.
    int32_t decode = kDecodeAll;
};

const Mode kModes[] = {
    {nullptr, "a summary of each file", printSummary},
    {"--tags", "one line per stored tag: name, TAB, value", printTags},
    {"--json", "the stored tags as JSON: an array of one object per file", nullptr, nullptr, nullptr, printJson},
    {"--report", "the report of the Exif and maker-note tags", printReport},
    {.option = "--gps",
     .help = "the GPS position as latitude,longitude in decimal degrees",
     .print = printGps,
     .decode = kDecodePosition},
    {.option = "--place",
     .help = "the place text of the GPS position from the offline places",
     .print = printPlace,
     .decode = kDecodePosition},
    {.option = "--xmp",
     .help = "one line per XMP location property: name, TAB, value",
     .print = printXmp,
     .decode = kDecodePosition},
    {.option = "--iptc",
     .help = "one line per IPTC record: key, TAB, text",
     .print = printIptc,
     .decode = kDecodePosition},
    {.option = "--show-comment",
     .help = "the JPEG comment's bytes",
     .print = printComment,
     .decode = kDecodePosition},
    {.option = "--comment",
     .help = "replaces the JPEG comment of each file with TEXT, rewriting the file",
     .print = nullptr,
     .change = writeComment,
     .textName = "TEXT",
     .decode = kDecodePosition},
};

void printUsage(std::ostream& out)
{
    out << "usage: vistado-meta [MODE] FILE...\n"
           "Reads the metadata of JPEG (.jpg, .jpeg, .jpe) and TIFF (.tif, .tiff, .nef) files.\n"
           "With several files, each file's output follows a line \"FILE:\".\n"
           "Only --comment and --place --write change files; every other mode reads them.\n"
           "Modes:\n";
    for (const Mode& mode : kModes) {
        out << "  " << (mode.option != nullptr ? mode.option : "(none)");
        if (mode.textName != nullptr)
            out << " " << mode.textName;
        out << "\t" << mode.help << "\n";
    }
    out << "  --place --write\talso writes the place into the IPTC and XMP location fields\n";
    out << "  --version\tthe program's version\n";
    out << "The offline places are GeoNames' (geonames.org), under the Creative Commons\n"
           "Attribution 4.0 licence.\n";
}

const Mode* findMode(const char* option)
{
    for (const Mode& mode : kModes)
        if (mode.option != nullptr && std::strcmp(mode.option, option) == 0)
            return &mode;
    return nullptr;
}

// Applies a changing mode to one file: 0 when done, 1 (with the reason on
// standard error) when the file was left as it was. A file read without
// metadata is still changed when the writer takes it (a JPEG without metadata
// in front, for instance); the writer refuses anything else. A file whose
// read failed is never written: what was read is not what it holds.
int changeFile(TimgData& image, const std::string& file, const Mode& mode, const std::string& text)
{
    if (!image.OpenImage(file) && (image.errorText.empty() || image.readFailed())) {
        std::cerr << file << ": " << (image.errorText.empty() ? "not found" : image.errorText) << std::endl;
        return 1;
    }
    try {
        mode.change(image, text);
        return 0;
    } catch (const std::exception& failed) {
        std::cerr << failed.what() << std::endl;
        return 1;
    }
}

// What the command line asks for: a mode (with its TEXT) over files, the usage, or
// nothing to run (the reason already on standard error).
struct ToolCall {
    enum class Kind { Run, Help, Version, Bad } kind = Kind::Run;
    const Mode* mode = &kModes[0];
    std::string modeText;
    bool write = false;  // --place --write
    std::vector<std::string> files;
};

ToolCall callOfKind(ToolCall::Kind kind)
{
    ToolCall call;
    call.kind = kind;
    return call;
}

ToolCall parseToolCall(int argc, char** argv)
{
    ToolCall call;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h")
            return callOfKind(ToolCall::Kind::Help);
        if (argument == "--version")
            return callOfKind(ToolCall::Kind::Version);
        if (argument == "--write") {
            call.write = true;
            continue;
        }
        if (argument.starts_with("--")) {
            call.mode = findMode(argv[i]);
            if (call.mode == nullptr) {
                std::cerr << "vistado-meta: unknown option " << argument << "\n";
                printUsage(std::cerr);
                return callOfKind(ToolCall::Kind::Bad);
            }
            if (call.mode->textName != nullptr) {
                if (++i == argc) {
                    std::cerr << "vistado-meta: " << argument << " needs " << call.mode->textName << "\n";
                    return callOfKind(ToolCall::Kind::Bad);
                }
                call.modeText = argv[i];
            }
            continue;
        }
        call.files.push_back(argument);
    }
    if (call.files.empty()) {
        printUsage(std::cerr);
        return callOfKind(ToolCall::Kind::Bad);
    }
    if (call.write && call.mode->print != printPlace) {
        std::cerr << "vistado-meta: --write goes with --place\n";
        return callOfKind(ToolCall::Kind::Bad);
    }
    return call;
}

// Runs the mode over every file; the exit status: 1 when any file could not be read or
// changed.
int runToolCall(const ToolCall& call)
{
    // Place names follow the user's language and character set; numbers are
    // read as the program's commands read them: "." as decimal separator
    // (the engine's own setting, whatever LC_NUMERIC says), GPS coordinates
    // in decimal degrees.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    setDecimalSeparator('.');
    setGpsRenderingMode(0);
    if (call.mode->printAll != nullptr)
        return call.mode->printAll(call.files);

    int status = 0;
    bool printedAny = false;
    TimgData image(call.mode->decode);
    // Only a mode that rewrites the files keeps each locked from the read on.
    image.lockForRewrite = call.mode->change != nullptr || call.write;
    for (const std::string& file : call.files) {
        if (call.mode->change != nullptr) {
            status |= changeFile(image, file, *call.mode, call.modeText);
            continue;
        }
        if (!image.OpenImage(file)) {
            std::cout.flush();
            std::cerr << file << ": " << readFailure(image) << std::endl;
            status = 1;
            continue;
        }
        if (call.files.size() > 1)
            std::cout << (printedAny ? "\n" : "") << file << ":\n";
        try {
            call.mode->print(image);
        } catch (const std::exception& error) {
            std::cout.flush();
            std::cerr << file << ": " << error.what() << std::endl;
            status = 1;
        }
        if (call.write) {
            std::cout.flush();
            status |= writePlaceFields(image, file);
        }
        printedAny = true;
    }
    std::cout.flush();
    return status;
}

}  // namespace
}  // namespace vistado

int main(int argc, char** argv)
{
    using namespace vistado;
    const ToolCall call = parseToolCall(argc, argv);
    switch (call.kind) {
    case ToolCall::Kind::Help:
        printUsage(std::cout);
        return 0;
    case ToolCall::Kind::Version:
        std::cout << "vistado-meta " VISTADO_VERSION "\n";
        return 0;
    case ToolCall::Kind::Bad:
        return 1;
    case ToolCall::Kind::Run:
        break;
    }
    return runToolCall(call);
}
