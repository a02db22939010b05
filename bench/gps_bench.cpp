// How fast the engine reads photos, beside the fastest peer:
//  - vistado-meta --gps and jhead (and exiv2 when installed), each as one
//    process over copies of the folder's files, at least 1,000 of them, in
//    the same run; files per second and vistado-meta's ratio of wall times
//    to jhead's (at most 1.0 is the target);
//  - the place run's read in this process (open, GPS position, comment) over
//    the folder's files, hot: files per second (the target is 100,000);
//  - the slowest of the files built to make a read slow, each with an Exif
//    segment of at most 64 KB, read whole (maker note included): the time
//    per read in milliseconds (the target is < 10).
//
//   gps_bench [benchmark options] [FOLDER]
// The folder may also be given by VISTADO_BENCH_DIR; by default it is the
// sample files' JPEG folder. The copies go to a folder in TMPDIR (default
// /tmp) and are removed at the end.

#include "benchfiles.h"
#include "jpegbuilder.h"
#include "tiffbuilder.h"

#include "meta/exif/gpsposition.h"
#include "meta/container/imgdata.h"
#include "meta/text/settings.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace vistado::bench {
namespace {

constexpr size_t kLeastCopies = 1000;

std::vector<std::string> sampleFiles;  // the folder's files, for the read in this process
std::vector<std::string> copies;       // at least kLeastCopies files, for the programs

void setFileRate(benchmark::State& state, size_t count)
{
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate);
}

// The place run's read of one photo: open it, its position, its comment.
size_t placeRunRead(TimgData& image, const std::string& file)
{
    if (!image.OpenImage(file))
        return 0;
    size_t found = image.commentSection != nullptr ? image.CommentText().size() : 0;
    if (image.ExifPresent())
        found += gpsPositionText(*image.exifDecoder).size();
    return found;
}

void BM_PlaceRunRead(benchmark::State& state)
{
    setDecimalSeparator('.');
    setGpsRenderingMode(0);
    size_t found = 0;
    for (auto _ : state)
        for (const std::string& file : sampleFiles) {
            TimgData image(kDecodePosition);
            found += placeRunRead(image, file);
        }
    benchmark::DoNotOptimize(found);
    setFileRate(state, sampleFiles.size());
}

// A program over the copies. Every program but jhead runs paired with a
// jhead run in each iteration, so that the ratio compares runs made side by
// side rather than runs minutes apart.
void BM_Process(benchmark::State& state, std::vector<std::string> command)
{
    using Clock = std::chrono::steady_clock;
    const std::string name = command.front();
    command.insert(command.end(), copies.begin(), copies.end());
    std::vector<std::string> jhead{"jhead"};
    jhead.insert(jhead.end(), copies.begin(), copies.end());
    const bool paired = name != "jhead" && installed("jhead");
    double own = 0;
    double peer = 0;
    for (auto _ : state) {
        if (paired) {
            const Clock::time_point start = Clock::now();
            runQuietly(jhead);
            peer += std::chrono::duration<double>(Clock::now() - start).count();
        }
        const Clock::time_point start = Clock::now();
        runQuietly(command);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        own += seconds;
        state.SetIterationTime(seconds);
    }
    setFileRate(state, copies.size());
    if (paired)
        state.counters["ratio_to_jhead"] = own / peer;
}

// Files built to make a read slow, each within one 64 KB Exif segment.
std::vector<std::pair<std::string, std::string>> worstCases()
{
    using namespace vistado::test;
    // A Canon camera's TIFF data whose note holds count entries of the tag
    // (or of count tags from it on, with tagStep 1), all on one value of the
    // type behind the note's directory.
    auto canonNote = [](uint16_t tag, uint16_t type, uint32_t valueCount, const std::string& value, int count,
                        uint16_t tagStep = 0) {
        TiffBuilder tiff(false);
        const int exif = tiff.addDirectory();
        tiff.addAscii(0, 0x010F, "Canon");
        tiff.addPointer(0, 0x8769, exif);
        const uint32_t noteAt = tiff.directoryOffset(exif) + 2 + 12 + 4;
        TiffBuilder note(false);
        const uint32_t valueAt = noteAt + 2 + 12 * static_cast<uint32_t>(count) + 4;
        for (int i = 0; i < count; ++i)
            note.addRawEntry(0, static_cast<uint16_t>(tag + i * tagStep), type, valueCount, valueAt);
        tiff.addUndefined(exif, 0x927C, note.directoryBlock(0, noteAt) + value);
        return tiff.build();
    };
    std::vector<std::pair<std::string, std::string>> cases;
    std::string list = "8";
    while (list.size() < 60000)
        list += ",1";
    cases.emplace_back("canon_list_of_30000_commas",
                       canonNote(0x000F, 2, static_cast<uint32_t>(list.size() + 1), list + '\0', 1));
    cases.emplace_back("5000_canon_settings_lists", canonNote(0x0001, 3, 128, std::string(256, '\1'), 5000));
    cases.emplace_back("2000_canon_tags_on_one_38_kb_value",
                       canonNote(0x0100, 7, 38000, std::string(38000, 'x'), 2000, 1));
    // Five thousand entries sharing one 4 KB value, in IFD0.
    {
        TiffBuilder tiff(false);
        tiff.addAscii(0, 0x010F, "Maker");
        for (int i = 0; i < 5000; ++i)
            tiff.addRawEntry(0, 0x010E, 2, 4000, 8);
        cases.emplace_back("5000_entries_on_one_value", tiff.build());
    }
    // Two thousand texts on one 40 KB value, which spans the directory and
    // the padding behind it.
    {
        TiffBuilder tiff(false);
        tiff.addAscii(0, 0x010F, "Maker");
        tiff.addUndefined(0, 0xC4A5, std::string(20000, 'x'));
        for (int i = 0; i < 2000; ++i)
            tiff.addRawEntry(0, 0x010E, 2, 40000, 8);
        cases.emplace_back("2000_texts_on_one_40_kb_value", tiff.build());
    }
    // Five thousand GPS latitudes of 128 rationals each (or of 4, the most
    // that is always read), on one value.
    for (const uint32_t rationals : {128u, 4u}) {
        TiffBuilder tiff(false);
        const int gps = tiff.addDirectory();
        tiff.addPointer(0, 0x8825, gps);
        for (int i = 0; i < 5000; ++i)
            tiff.addRawEntry(gps, 0x0002, 5, rationals, 8);
        cases.emplace_back("5000_gps_latitudes_of_" + std::to_string(rationals) + "_rationals", tiff.build());
    }
    // Directories that overlap, each count in the hundreds or thousands.
    cases.emplace_back("5300_overlapping_directories", overlappingDirectories(5300, 400));
    // A chain of directories as deep as a segment holds.
    {
        TiffBuilder tiff(false);
        int previous = 0;
        for (int i = 0; i < 3000; ++i) {
            const int next = tiff.addDirectory();
            tiff.addPointer(previous, 0x8769, next);
            previous = next;
        }
        cases.emplace_back("3000_nested_directories", tiff.build());
    }
    for (auto& [name, tiff] : cases) {
        if (tiff.size() + 8 > 0xFFFF)
            std::cerr << "gps_bench: " << name << " does not fit a segment\n";
        tiff = jpegFile({exifSegment(tiff), commentSegment("c"), scanSegment()});
    }
    return cases;
}

// The whole read, maker note included, as vistado-meta --tags reads.
void BM_WorstRead(benchmark::State& state, const std::string& path)
{
    TimgData image(kDecodeAll);
    for (auto _ : state) {
        benchmark::DoNotOptimize(placeRunRead(image, path));
        if (image.exifDecoder)
            benchmark::DoNotOptimize(image.exifDecoder->tags().size());
    }
}

}  // namespace
}  // namespace vistado::bench

int main(int argc, char** argv)
{
    using namespace vistado::bench;
    benchmark::Initialize(&argc, argv);
    const std::string folder = benchFolder(argc, argv);
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "gps_bench: no folder " << folder << "\n";
        return 1;
    }
    sampleFiles = jpegFiles(folder);
    if (sampleFiles.empty()) {
        std::cerr << "gps_bench: no JPEG files in " << folder << "\n";
        return 1;
    }
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "vistado-bench-gps";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    for (size_t round = 0; copies.size() < kLeastCopies; ++round)
        for (const std::string& source : sampleFiles) {
            const std::filesystem::path copy =
                work / (std::to_string(round) + "_" + std::filesystem::path(source).filename().string());
            std::filesystem::copy_file(source, copy);
            copies.push_back(copy.string());
        }
    std::cerr << "gps_bench: " << sampleFiles.size() << " files in " << folder << ", " << copies.size()
              << " copies in " << work.string() << "\n";

    benchmark::RegisterBenchmark("place_run_read", BM_PlaceRunRead);
    if (installed("jhead"))
        benchmark::RegisterBenchmark("jhead", BM_Process, std::vector<std::string>{"jhead"})->UseManualTime();
    benchmark::RegisterBenchmark("vistado-meta --gps", BM_Process,
                                 std::vector<std::string>{VISTADO_META_TOOL, "--gps"})
        ->UseManualTime();
    if (installed("exiv2"))
        benchmark::RegisterBenchmark("exiv2 -g Exif.GPSInfo", BM_Process,
                                     std::vector<std::string>{"exiv2", "-q", "-g", "Exif.GPSInfo", "-pt"})
            ->UseManualTime();
    for (const auto& [name, bytes] : worstCases()) {
        const std::string path = (work / (name + ".jpg")).string();
        std::ofstream(path, std::ios::binary) << bytes;
        benchmark::RegisterBenchmark(("worst_read/" + name).c_str(), BM_WorstRead, path)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(work);
    return 0;
}
