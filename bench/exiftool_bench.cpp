// The GPS backup and restore beside ExifTool itself: `vistado --gps-sichern` and
// `vistado --gps-zurueck` over copies of photos with a GPS position, each beside one ExifTool
// process doing the same work from an argument file (`exiftool -@ FILE`, one -execute a
// photo), on the same copies. The two sides run in turns, in rounds; the figures are medians:
// wall time, and processor time (the program's and its children's, ExifTool's included).
//
//   exiftool_bench [--benchmark_filter=Backup|Restore]
//   VISTADO_BENCH_IMAGES=N   photos (400)
//   VISTADO_BENCH_ROUNDS=N   rounds (3)
//
// The photos are the sample files' JPEG photos with a position, or without them one built
// photo of 1024 x 768.
#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"

#include "app/exiftool/exiftoolcalls.h"
#include "app/exiftool/gpstext.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vistado::bench {
namespace {

using namespace vistado::test;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

int setting(const char* name, int byDefault)
{
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : byDefault;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        found.push_back(line);
    return found;
}

// The bytes of the photos the copies are made of.
const std::vector<std::string>& gpsPhotos()
{
    static const std::vector<std::string> photos = [] {
        std::vector<std::string> found;
        const std::string corpus = corpusDir();
        if (!corpus.empty()) {
            const ProgramResult listed =
                runProgram({"exiftool", "-q", "-q", "-if", "$GPSLatitude", "-p", "$Directory/$FileName", corpus + "/jpeg"});
            for (const std::string& file : lines(listed.out))
                found.push_back(readFile(file));
        }
        if (found.empty()) {
            const TempDir built;
            writeFile(built.file("a.jpg"), realJpeg(1024, 768));
            runProgram({"exiftool", "-q", "-overwrite_original", "-GPSLatitude=48.137154", "-GPSLatitudeRef=N",
                        "-GPSLongitude=11.576124", "-GPSLongitudeRef=E", built.file("a.jpg")});
            found.push_back(readFile(built.file("a.jpg")));
        }
        return found;
    }();
    return photos;
}

std::string copyName(int index)
{
    return "P" + std::to_string(10000 + index).substr(1) + ".jpg";
}

void makeCopies(const std::string& folder, int count)
{
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i)
        writeFile(folder + "/" + copyName(i), gpsPhotos()[static_cast<std::size_t>(i) % gpsPhotos().size()]);
}

// ExifTool's argument file for the backup of every copy, as the backup asks for it.
std::string backupArguments(const std::string& folder, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/" + copyName(i);
        for (const std::string& option : backupCall(path).options)
            text += option + "\n";
        text += path + "\n-execute\n";
    }
    return text;
}

// ExifTool's argument file for the restore of every copy from its backup file.
std::string restoreArguments(const std::string& folder, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/" + copyName(i);
        std::istringstream backup(readFile(backupTextFile(path)));
        text += "-overwrite_original\n";
        for (const TagValue& tag : restoreTags(readGpsBackup(backup)))
            text += "-" + tag.name + "=" + tag.value + "\n";
        text += path + "\n-execute\n";
    }
    return text;
}

ProgramOptions vistadoOptions(const std::string& workFolder)
{
    ProgramOptions options;
    options.workingDirectory = workFolder;
    options.environment = {{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"LC_ALL", "C.UTF-8"},
                           {"VISTADO_UPDATE_HOST", std::nullopt}};
    return options;
}

// The processor seconds (user and system) of the children ended so far, theirs included.
double childProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// What a run took: wall time, and the processor time of the program and its children,
// which other programs on the machine disturb less.
struct Took {
    double seconds;
    double processorSeconds;
};

// None when the command failed or `done` says its work is not there.
std::optional<Took> timedRun(const std::vector<std::string>& command, const ProgramOptions& options,
                             const std::function<bool(const ProgramResult&)>& done)
{
    const double processorBefore = childProcessorSeconds();
    const auto start = Clock::now();
    const ProgramResult result = runProgram(command, options);
    const Took took{std::chrono::duration<double>(Clock::now() - start).count(), childProcessorSeconds() - processorBefore};
    if (result.exitStatus != 0 || !done(result))
        return std::nullopt;
    return took;
}

// Every line of the run says "ok".
std::function<bool(const ProgramResult&)> allOk(int count)
{
    return [count](const ProgramResult& result) {
        const std::vector<std::string> said = lines(result.out);
        return static_cast<int>(said.size()) == count &&
               std::ranges::all_of(said, [](const std::string& line) { return line.ends_with(" ok"); });
    };
}

std::function<bool(const ProgramResult&)> backupFilesMade(const std::string& folder, int count)
{
    return [folder, count](const ProgramResult&) {
        return fs::exists(folder + "/gpstext") &&
               std::distance(fs::directory_iterator(folder + "/gpstext"), fs::directory_iterator()) == count;
    };
}

using Side = std::function<std::optional<Took>()>;

// Runs both sides in turns, `before` ahead of each, and prints the medians.
void compare(benchmark::State& state, int images, const std::function<void()>& before, const Side& vistado,
             const Side& exifTool)
{
    std::vector<double> vistadoSeconds, exifToolSeconds, ratios, processorRatios;
    for (auto _ : state) {
        for (int round = 0; round < setting("VISTADO_BENCH_ROUNDS", 3); ++round) {
            std::optional<Took> ours, theirs;
            for (int turn = 0; turn < 2; ++turn) {
                before();
                if ((turn + round) % 2 == 0)
                    ours = vistado();
                else
                    theirs = exifTool();
            }
            if (!ours || !theirs) {
                state.SkipWithError("a run failed");
                return;
            }
            vistadoSeconds.push_back(ours->seconds);
            exifToolSeconds.push_back(theirs->seconds);
            ratios.push_back(ours->seconds / theirs->seconds);
            processorRatios.push_back(ours->processorSeconds / theirs->processorSeconds);
        }
    }
    state.counters["photos"] = images;
    state.counters["vistado_s"] = median(vistadoSeconds);
    state.counters["exiftool_s"] = median(exifToolSeconds);
    state.counters["vistado_photos_per_s"] = images / median(vistadoSeconds);
    state.counters["ratio_to_exiftool"] = median(ratios);
    state.counters["processor_ratio_to_exiftool"] = median(processorRatios);
}

// A benchmark's folder: the copies in photos/, and ExifTool's arguments for their backup.
struct Work {
    Work()
    {
        makeCopies(folder, images);
        writeFile(dir.file("backup.args"), backupArguments(folder, images));
    }
    const int images = setting("VISTADO_BENCH_IMAGES", 400);
    const TempDir dir;
    const std::string folder = dir.file("photos");
};

void BM_BackupBesideExifTool(benchmark::State& state)
{
    const Work work;
    const auto made = backupFilesMade(work.folder, work.images);
    compare(
        state, work.images, [&] { fs::remove_all(work.folder + "/gpstext"); },
        [&] {
            return timedRun({VISTADO_PROGRAM, "--gps-sichern", "photos"}, vistadoOptions(work.dir.path()),
                            [&](const ProgramResult& result) { return allOk(work.images)(result) && made(result); });
        },
        [&] { return timedRun({"exiftool", "-@", work.dir.file("backup.args")}, {}, made); });
}
BENCHMARK(BM_BackupBesideExifTool)->Iterations(1)->Unit(benchmark::kSecond);

void BM_RestoreBesideExifTool(benchmark::State& state)
{
    const Work work;
    runProgram({"exiftool", "-@", work.dir.file("backup.args")});
    writeFile(work.dir.file("restore.args"), restoreArguments(work.folder, work.images));
    // Each side writes back every photo's position; nothing needs undoing in between.
    compare(
        state, work.images, [] {},
        [&] {
            return timedRun({VISTADO_PROGRAM, "--gps-zurueck", "photos"}, vistadoOptions(work.dir.path()),
                            allOk(work.images));
        },
        [&] {
            return timedRun({"exiftool", "-@", work.dir.file("restore.args")}, {}, [&](const ProgramResult& result) {
                return std::ranges::count(lines(result.out), "    1 image files updated") == work.images;
            });
        });
}
BENCHMARK(BM_RestoreBesideExifTool)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vistado::bench

BENCHMARK_MAIN();
