// The place run's speed and memory, each figure beside its peer measured in the same run:
//
// - Offline: `vistado --orte` over copies of the sample files' GPS photos, beside
//   `vistado-meta --comment` writing the same place texts into another copy of them; and
//   the run that writes the location fields with the comment beside `--nur-kommentar`.
// - Against a geocoding service on loopback that answers at once, asked without pauses
//   (VISTADO_GEOCODER_INTERVAL_MS=0), beside the offline run over the same photos; and at the
//   default interval, beside that interval.
// - Many photos: the peak memory (/usr/bin/time -v) of a run without a window over 10,000
//   photos beside one over 100, and the window's grid: the time per photo at its first and
//   its last thousand rows.
// - Where the time per photo goes: the run's steps one by one (read, lookup, rewrite with
//   its flush to the disk, run log) beside the whole run, in this process.
//
// Figures taken while other programs use the disk or the processors are noisy: each
// comparison runs in rounds, its two sides in turns, and prints the medians.
//
//   placerun_bench [--benchmark_filter=...]
//   VISTADO_BENCH_IMAGES=N         photos of the offline and service runs (2002)
//   VISTADO_BENCH_PACED_IMAGES=N   photos of the run at the default interval (100)
//   VISTADO_BENCH_MANY_IMAGES=N    photos of the memory and grid runs (10000)
//   VISTADO_BENCH_ROUNDS=N         rounds of each comparison (3)
#include "httpserver.h"
#include "jpegbuilder.h"
#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include "app/decimalpoint.h"
#include "app/runlog.h"
#include "app/vistado4.h"
#include "meta/file/filereader.h"
#include "meta/exif/gpsposition.h"
#include "meta/container/imgdata.h"
#include "places/offlineplaces.h"
#include "places/placereply.h"
#include "places/placetext.h"
#include "places/positiontext.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vistado::bench {
namespace {

using namespace vistado::test;
using Clock = std::chrono::steady_clock;

int setting(const char* name, int byDefault)
{
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : byDefault;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A real photo with a GPS position in its Exif data, as a camera writes it, for a checkout
// without the sample files: 48.137154 N, 11.576124 E.
std::string builtPhoto()
{
    TiffBuilder tiff(false);
    const int gps = tiff.addDirectory();
    tiff.addPointer(0, 0x8825, gps);
    tiff.addAscii(gps, 0x0001, "N");
    tiff.addRationals(gps, 0x0002, {{48, 1}, {8, 1}, {17193, 1250}});
    tiff.addAscii(gps, 0x0003, "E");
    tiff.addRationals(gps, 0x0004, {{11, 1}, {34, 1}, {340464, 10000}});
    const std::string jpeg = realJpeg(640, 480);
    // Behind SOI and the JFIF header, where cameras put it.
    const std::size_t afterHeader = 4 + (static_cast<unsigned char>(jpeg[4]) << 8 | static_cast<unsigned char>(jpeg[5]));
    return jpeg.substr(0, afterHeader) + exifSegment(tiff.build()) + jpeg.substr(afterHeader);
}

// The bytes of the sample files' JPEG photos that have a GPS position and no place text yet.
const std::vector<std::string>& gpsPhotos()
{
    static const std::vector<std::string> photos = [] {
        std::vector<std::string> found;
        const std::string corpus = corpusDir();
        if (!corpus.empty()) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(corpus + "/jpeg"))
                files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                const DecimalPointWhileReading point;
                TimgData image(kDecodePosition);
                if (image.OpenImage(file.string()) && image.ExifPresent() && nochkeinort(image.CommentText()) &&
                    !gpsPositionText(*image.exifDecoder).empty())
                    found.push_back(readWholeFile(file.string()));
            }
        }
        if (found.empty())
            found.push_back(builtPhoto());
        return found;
    }();
    return photos;
}

std::string copyName(int index)
{
    return "P" + std::to_string(100000 + index).substr(1) + ".jpg";
}

// `count` photos in a new folder `folder`, the GPS photos in turn.
void makeCopies(const std::string& folder, int count)
{
    std::filesystem::create_directories(folder);
    const auto& photos = gpsPhotos();
    for (int i = 0; i < count; ++i)
        writeFile(folder + "/" + copyName(i), photos[static_cast<std::size_t>(i) % photos.size()]);
}

// How the program runs for the benchmark: without a window, in `workFolder`, places from
// the city list or from `geocoderHost`, in an English locale.
ProgramOptions vistadoOptions(const std::string& workFolder, const std::string& geocoderHost = "",
                              std::optional<std::string> interval = std::nullopt)
{
    ProgramOptions options;
    options.workingDirectory = workFolder;
    options.environment = {
        {"DISPLAY", std::nullopt},
        {"WAYLAND_DISPLAY", std::nullopt},
        {"LC_ALL", "C.UTF-8"},
        {"VISTADO_GEOCODER_KEY", std::nullopt},
        {"VISTADO_UPDATE_HOST", std::nullopt},
        {"VISTADO_GEOCODER_HOST", geocoderHost.empty() ? std::nullopt : std::optional<std::string>(geocoderHost)},
        {"VISTADO_GEOCODER_INTERVAL_MS", interval},
    };
    return options;
}

// Runs the command and gives its seconds; nothing when it failed.
std::optional<double> timedRun(const std::vector<std::string>& command, const ProgramOptions& options = {})
{
    const auto start = Clock::now();
    const ProgramResult result = runProgram(command, options);
    const double seconds = secondsSince(start);
    if (result.exitStatus != 0)
        return std::nullopt;
    return seconds;
}

// The place run over the folder `photos` of `workFolder`; its seconds, or nothing when it
// failed or left its last photo without a place.
std::optional<double> placeRun(const std::string& workFolder, const std::string& photos,
                               const std::string& geocoderHost = "", std::optional<std::string> interval = std::nullopt,
                               bool commentOnly = false)
{
    std::vector<std::string> command = {VISTADO_PROGRAM, "--orte", photos};
    if (commentOnly)
        command.insert(command.begin() + 2, "--nur-kommentar");
    const auto seconds = timedRun(command, vistadoOptions(workFolder, geocoderHost, interval));
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(workFolder + "/" + photos))
        files.push_back(entry.path());
    if (files.empty())
        return seconds;
    TimgData last(kDecodeAll);
    if (!last.OpenImage(std::max_element(files.begin(), files.end())->string()) || nochkeinort(last.CommentText()))
        return std::nullopt;
    return seconds;
}

// The comment the offline run gives each GPS photo, in the benchmark's locale.
std::vector<std::string> offlineComments()
{
    const TempDir work;
    makeCopies(work.file("photos"), static_cast<int>(gpsPhotos().size()));
    std::vector<std::string> comments;
    if (!placeRun(work.path(), "photos"))
        return comments;
    for (std::size_t i = 0; i < gpsPhotos().size(); ++i) {
        TimgData image(kDecodeAll);
        image.OpenImage(work.file("photos/" + copyName(static_cast<int>(i))));
        comments.push_back(image.CommentText());
    }
    return comments;
}

// vistado-meta --comment over the photos of a folder made by makeCopies: each gets the
// comment the place run gives its GPS photo, one call for each comment.
std::optional<double> metaComment(const std::string& folder, int count, const std::vector<std::string>& comments)
{
    std::map<std::string, std::vector<std::string>> callByComment;
    for (int i = 0; i < count; ++i)
        callByComment[comments[static_cast<std::size_t>(i) % comments.size()]].push_back(folder + "/" + copyName(i));
    double seconds = 0;
    for (const auto& [comment, files] : callByComment) {
        std::vector<std::string> command{VISTADO_META_TOOL, "--comment", comment};
        command.insert(command.end(), files.begin(), files.end());
        const auto took = timedRun(command);
        if (!took)
            return std::nullopt;
        seconds += *took;
    }
    return seconds;
}

// One side of a comparison: its run over the photos of the folder `side` of the work folder.
using Side = std::function<std::optional<double>(const TempDir& work, const std::string& side)>;

// A comparison in rounds (VISTADO_BENCH_ROUNDS), each over fresh copies of `images` photos
// for either side, the first side first in even rounds and last in odd ones; the two sides'
// seconds in each round, or nothing when a run failed.
std::optional<std::vector<std::pair<double, double>>> compareInRounds(int images, const Side& one, const Side& other)
{
    std::vector<std::pair<double, double>> rounds;
    for (int round = 0; round < setting("VISTADO_BENCH_ROUNDS", 3); ++round) {
        const TempDir work;
        makeCopies(work.file("one"), images);
        makeCopies(work.file("other"), images);
        std::optional<double> first, second;
        if (round % 2 == 0) {
            first = one(work, "one");
            second = other(work, "other");
        } else {
            second = other(work, "other");
            first = one(work, "one");
        }
        if (!first || !second)
            return std::nullopt;
        rounds.emplace_back(*first, *second);
    }
    return rounds;
}

void BM_OfflineRunBesideMetaComment(benchmark::State& state)
{
    const int images = setting("VISTADO_BENCH_IMAGES", 2002);
    const std::vector<std::string> comments = offlineComments();
    if (comments.empty()) {
        state.SkipWithError("the offline run failed");
        return;
    }
    std::vector<double> runSeconds, metaSeconds, ratios;
    for (auto _ : state) {
        const auto rounds = compareInRounds(
            images, [](const TempDir& work, const std::string& side) { return placeRun(work.path(), side); },
            [&](const TempDir& work, const std::string& side) {
                return metaComment(work.file(side), images, comments);
            });
        if (!rounds) {
            state.SkipWithError("a run failed");
            return;
        }
        for (const auto& [run, meta] : *rounds) {
            runSeconds.push_back(run);
            metaSeconds.push_back(meta);
            ratios.push_back(run / meta);
        }
    }
    state.counters["photos"] = images;
    state.counters["run_photos_per_s"] = images / median(runSeconds);
    state.counters["meta_comment_photos_per_s"] = images / median(metaSeconds);
    state.counters["run_time_per_meta_time"] = median(ratios);
}
BENCHMARK(BM_OfflineRunBesideMetaComment)->Iterations(1)->Unit(benchmark::kSecond);

// The processor time of the programs this process ran and waited for, so far.
double childrenCpuSeconds()
{
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(children.ru_utime) + seconds(children.ru_stime);
}

// The location fields' cost: the offline run writing them with the comment (an IIM and an
// XMP segment made for each photo) beside the run that writes the comment alone. The
// processor time beside the wall time: on a shared disk the latter is noisy.
void BM_OfflineRunWithFieldsBesideCommentOnly(benchmark::State& state)
{
    const int images = setting("VISTADO_BENCH_IMAGES", 2002);
    std::vector<double> fieldsSeconds, commentSeconds, ratios, cpuRatios;
    for (auto _ : state) {
        // Each side's processor time in each round, in the rounds' order.
        std::vector<double> fieldsCpu, commentCpu;
        const auto timed = [](bool commentOnly, std::vector<double>& cpu) {
            return [commentOnly, &cpu](const TempDir& work, const std::string& side) {
                const double before = childrenCpuSeconds();
                const auto seconds = placeRun(work.path(), side, "", std::nullopt, commentOnly);
                cpu.push_back(childrenCpuSeconds() - before);
                return seconds;
            };
        };
        const auto rounds = compareInRounds(images, timed(false, fieldsCpu), timed(true, commentCpu));
        if (!rounds) {
            state.SkipWithError("a run failed");
            return;
        }
        for (const auto& [fields, comment] : *rounds) {
            fieldsSeconds.push_back(fields);
            commentSeconds.push_back(comment);
            ratios.push_back(fields / comment);
        }
        for (std::size_t i = 0; i < fieldsCpu.size(); ++i)
            cpuRatios.push_back(fieldsCpu[i] / commentCpu[i]);
    }
    state.counters["photos"] = images;
    state.counters["fields_photos_per_s"] = images / median(fieldsSeconds);
    state.counters["comment_only_photos_per_s"] = images / median(commentSeconds);
    state.counters["fields_time_per_comment_time"] = median(ratios);
    state.counters["fields_cpu_per_comment_cpu"] = median(cpuRatios);
}
BENCHMARK(BM_OfflineRunWithFieldsBesideCommentOnly)->Iterations(1)->Unit(benchmark::kSecond);

// A geocoding service on loopback that answers every position at once with the same place.
class LoopbackService {
public:
    LoopbackService()
        : server([this](httplib::Server& routes) {
              routes.Get("/maps/api/geocode/xml", [this](const httplib::Request&, httplib::Response& response) {
                  ++answered;
                  response.set_content(kReply, "application/xml; charset=UTF-8");
              });
          })
    {
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }
    int requests() const { return answered; }

private:
    static constexpr const char* kReply =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<GeocodeResponse>\n <status>OK</status>\n <result>\n"
        "  <address_component>\n   <long_name>12</long_name>\n  </address_component>\n"
        "  <address_component>\n   <long_name>Marktgasse</long_name>\n  </address_component>\n"
        "  <address_component>\n   <long_name>Altstadt</long_name>\n  </address_component>\n"
        "  <address_component>\n   <long_name>M\xC3\xBCnchen</long_name>\n  </address_component>\n"
        "  <address_component>\n   <long_name>Oberbayern</long_name>\n  </address_component>\n"
        "  <address_component>\n   <long_name>Deutschland</long_name>\n  </address_component>\n"
        " </result>\n</GeocodeResponse>\n";

    std::atomic<int> answered{0};
    HttpServer server;
};

void BM_ServiceRunBesideOffline(benchmark::State& state)
{
    const int images = setting("VISTADO_BENCH_IMAGES", 2002);
    LoopbackService service;
    std::vector<double> serviceMs, offlineMs, extraMs;
    for (auto _ : state) {
        const auto rounds = compareInRounds(
            images,
            [&](const TempDir& work, const std::string& side) {
                return placeRun(work.path(), side, service.host(), "0");
            },
            [](const TempDir& work, const std::string& side) { return placeRun(work.path(), side); });
        if (!rounds) {
            state.SkipWithError("a run failed");
            return;
        }
        for (const auto& [asked, offline] : *rounds) {
            serviceMs.push_back(asked / images * 1000);
            offlineMs.push_back(offline / images * 1000);
            extraMs.push_back(serviceMs.back() - offlineMs.back());
        }
    }
    state.counters["photos"] = images;
    state.counters["requests"] = service.requests();
    state.counters["service_ms_per_photo"] = median(serviceMs);
    state.counters["offline_ms_per_photo"] = median(offlineMs);
    state.counters["service_extra_ms_per_photo"] = median(extraMs);
}
BENCHMARK(BM_ServiceRunBesideOffline)->Iterations(1)->Unit(benchmark::kSecond);

// At the default interval the run takes the interval per photo; the first request goes at
// once, so the time is spread over the intervals between the requests.
void BM_ServiceRunAtDefaultInterval(benchmark::State& state)
{
    const int images = std::max(2, setting("VISTADO_BENCH_PACED_IMAGES", 100));
    LoopbackService service;
    for (auto _ : state) {
        const TempDir work;
        makeCopies(work.file("service"), images);
        const auto asked = placeRun(work.path(), "service", service.host());
        if (!asked) {
            state.SkipWithError("the run failed");
            return;
        }
        const double interval = static_cast<double>(Services::kDefaultGeocoderInterval.count());
        const double msPerPhoto = *asked * 1000 / (images - 1);
        state.counters["photos"] = images;
        state.counters["interval_ms"] = interval;
        state.counters["ms_per_photo"] = msPerPhoto;
        state.counters["beyond_interval_ms"] = msPerPhoto - interval;
    }
}
BENCHMARK(BM_ServiceRunAtDefaultInterval)->Iterations(1)->Unit(benchmark::kSecond);

// The peak memory of a run without a window, in kB, as /usr/bin/time -v reports it.
std::optional<double> peakKilobytes(const std::string& workFolder, const std::string& photos)
{
    const ProgramResult result =
        runProgram({"/usr/bin/time", "-v", VISTADO_PROGRAM, "--orte", photos}, vistadoOptions(workFolder));
    const std::string label = "Maximum resident set size (kbytes): ";
    const std::size_t at = result.err.find(label);
    if (result.exitStatus != 0 || at == std::string::npos)
        return std::nullopt;
    return std::atof(result.err.c_str() + at + label.size());
}

void BM_ManyPhotosPeakMemory(benchmark::State& state)
{
    if (!std::filesystem::exists("/usr/bin/time")) {
        state.SkipWithError("needs /usr/bin/time (Debian package time)");
        return;
    }
    const int many = setting("VISTADO_BENCH_MANY_IMAGES", 10000);
    const int few = 100;
    for (auto _ : state) {
        const TempDir work;
        makeCopies(work.file("many"), many);
        makeCopies(work.file("few"), few);
        const auto start = Clock::now();
        const auto manyPeak = peakKilobytes(work.path(), "many");
        const double seconds = secondsSince(start);
        const auto fewPeak = peakKilobytes(work.path(), "few");
        if (!manyPeak || !fewPeak) {
            state.SkipWithError("a run failed");
            return;
        }
        state.counters["photos"] = many;
        state.counters["peak_mb"] = *manyPeak / 1024;
        state.counters["peak_mb_100_photos"] = *fewPeak / 1024;
        state.counters["ms_per_photo"] = seconds / many * 1000;
    }
}
BENCHMARK(BM_ManyPhotosPeakMemory)->Iterations(1)->Unit(benchmark::kSecond);

// The window shown, its grid filling up: the time per photo at the grid's first and last
// thousand rows, and the time to jump from the last row to the first and show it.
void BM_ManyPhotosGrid(benchmark::State& state)
{
    const int many = setting("VISTADO_BENCH_MANY_IMAGES", 10000);
    const int span = std::min(1000, many / 2);
    for (auto _ : state) {
        const TempDir work;
        makeCopies(work.file("many"), many);
        TForm1 form(work.file("many"), work.path());
        form.show();
        // A row's entry changes first when its photo has been read.
        std::vector<Clock::time_point> read(static_cast<std::size_t>(many));
        std::vector<bool> seen(static_cast<std::size_t>(many));
        QObject::connect(form.LBjobliste, &QListWidget::itemChanged, [&](QListWidgetItem* item) {
            const auto row = static_cast<std::size_t>(form.LBjobliste->row(item));
            if (!seen[row]) {
                seen[row] = true;
                read[row] = Clock::now();
            }
        });
        form.BFrage->click();
        if (form.BFrage->text() != QStringLiteral("fertig")) {
            state.SkipWithError("the run did not go through");
            return;
        }
        const auto last = static_cast<std::size_t>(many - 1);
        const auto first = static_cast<std::size_t>(span);
        const auto jump = Clock::now();
        form.sgdisplay->setCurrentCell(0, 0);
        form.sgdisplay->scrollToTop();
        form.sgdisplay->repaint();
        state.counters["photos"] = many;
        state.counters["grid_rows"] = form.sgdisplay->rowCount();
        state.counters["first_rows_ms_per_photo"] =
            std::chrono::duration<double, std::milli>(read[first] - read[0]).count() / span;
        state.counters["last_rows_ms_per_photo"] =
            std::chrono::duration<double, std::milli>(read[last] - read[last - span]).count() / span;
        state.counters["jump_to_top_ms"] = secondsSince(jump) * 1000;
    }
}
BENCHMARK(BM_ManyPhotosGrid)->Iterations(1)->Unit(benchmark::kSecond);

// Time taken, on the clock, by the processor in this process's own code and libraries
// (user), and in the kernel on its behalf (system), summed over the spans measured.
struct Stopwatch {
    double wall = 0;
    double user = 0;
    double system = 0;

    // Runs `step` and adds its times.
    template <typename Step>
    auto time(Step&& step)
    {
        struct Add {
            Stopwatch& watch;
            Clock::time_point wallStart = Clock::now();
            rusage usageStart = usage();
            ~Add()
            {
                const rusage usageEnd = usage();
                watch.wall += secondsSince(wallStart);
                watch.user += seconds(usageEnd.ru_utime) - seconds(usageStart.ru_utime);
                watch.system += seconds(usageEnd.ru_stime) - seconds(usageStart.ru_stime);
            }
        } add{*this};
        return step();
    }

    void add(const Stopwatch& other)
    {
        wall += other.wall;
        user += other.user;
        system += other.system;
    }

    static rusage usage()
    {
        rusage now{};
        getrusage(RUSAGE_SELF, &now);
        return now;
    }

    static double seconds(timeval time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }
};

// The steps of the offline run one by one over one copy of the photos, and the whole run
// in this process (its window not shown) over another. The clock shows where a photo's time
// goes, the rewrite's system time what the kernel spends on the new file, and the user time
// the run adds beyond its steps the window's share (grid, job list, events), which the
// disk's moods do not blur.
void BM_TimePerPhotoSplit(benchmark::State& state)
{
    const int images = setting("VISTADO_BENCH_IMAGES", 2002);
    for (auto _ : state) {
        const TempDir work;
        makeCopies(work.file("steps"), images);
        makeCopies(work.file("run"), images);
        OfflinePlaces places;
        RunLog log;
        log.create(work.file("protokoll.csv"));
        Stopwatch read, lookup, rewrite, logged;
        for (int i = 0; i < images; ++i) {
            const std::string path = work.file("steps/" + copyName(i));
            TimgData image(kDecodePosition);
            std::string comment;
            const std::string position = read.time([&] {
                const DecimalPointWhileReading point;
                if (!image.OpenImage(path) || !image.ExifPresent())
                    return std::string();
                comment = image.CommentText();
                return gpsPositionText(*image.exifDecoder);
            });
            const std::string placeText = lookup.time([&] {
                const std::optional<Position> at = parsePositionText(position);
                std::istringstream reply(placeReplyText(at ? places.nearest(*at) : std::nullopt));
                return placeTextFromReply(reply, "UTF-8");
            });
            rewrite.time([&] {
                image.DropCommentAndHeader();
                image.SetCommentText(placeText + "  " + comment);
                image.SaveJpeg(path);
            });
            logged.time([&] {
                log.write(path + ";" + position + ";" + placeText);
                log.endLine();
            });
        }
        log.close();

        TForm1 form(work.file("run"), work.path());
        Stopwatch run;
        run.time([&] { form.BFrage->click(); });
        if (form.BFrage->text() != QStringLiteral("fertig")) {
            state.SkipWithError("the run did not go through");
            return;
        }
        const double toMs = 1000.0 / images;
        const Stopwatch* steps[] = {&read, &lookup, &rewrite, &logged};
        const char* names[] = {"read", "lookup", "rewrite", "log"};
        Stopwatch sum;
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            state.counters[std::string(names[i]) + "_ms"] = steps[i]->wall * toMs;
            sum.add(*steps[i]);
        }
        state.counters["photos"] = images;
        state.counters["rewrite_system_ms"] = rewrite.system * toMs;
        state.counters["steps_ms"] = sum.wall * toMs;
        state.counters["run_ms"] = run.wall * toMs;
        state.counters["steps_user_ms"] = sum.user * toMs;
        state.counters["run_user_ms"] = run.user * toMs;
        state.counters["window_user_ms"] = (run.user - sum.user) * toMs;
    }
}
BENCHMARK(BM_TimePerPhotoSplit)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vistado::bench

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
