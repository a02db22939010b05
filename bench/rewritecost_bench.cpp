// Where the time of one photo of the offline place run goes, step by step:
// the read, the place (the offline lookup through the reply file), the
// rewrite (loading the source and writing the new file, its flush to the
// disk, the rename, the folder's flush) and the run-log line. Each step is
// the program's own code, in the run's order; the flushes and the rename are
// timed inside the writer by vistado_filecalls.
//
// place_run_steps commits each photo before the next; place_run_overlapped
// hands the commits to a CommitQueue and goes on with the next photo, ending
// each log line, in order, once its commit is done. Its ms_sync_* figures
// are the summed time of commits that ran side by side.
//
//     rewritecost_bench [--benchmark_...] [FOLDER]
// Works on VISTADO_BENCH_IMAGES copies (default 200) of the folder's photos
// that have a GPS position (by default the sample files' JPEG folder), in a
// folder under TMPDIR, so on the disk that holds it.

#include "benchfiles.h"
#include "filecalls.h"

#include "app/runlog.h"
#include "meta/file/commitqueue.h"
#include "meta/file/filereader.h"
#include "meta/exif/gpsposition.h"
#include "meta/container/imgdata.h"
#include "meta/file/replacefile.h"
#include "meta/text/settings.h"
#include "places/offlineplaces.h"
#include "places/placereply.h"
#include "places/placetext.h"
#include "places/positiontext.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <deque>
#include <future>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iostream>
#include <map>

namespace vistado::bench {
namespace {

using Clock = std::chrono::steady_clock;
using vistado::test::FileCall;
using vistado::test::takeFileCalls;

std::string workFolder;
std::vector<std::string> photos;

int imageCount()
{
    const char* count = std::getenv("VISTADO_BENCH_IMAGES");
    return count && std::atoi(count) > 0 ? std::atoi(count) : 200;
}

double seconds(Clock::duration span)
{
    return std::chrono::duration<double>(span).count();
}

void BM_PlaceRunSteps(benchmark::State& state, bool overlapped)
{
    OfflinePlaces places;
    std::unique_ptr<CommitQueue> queue;
    // Log lines waiting for their commit, in order.
    std::deque<std::pair<std::string, std::future<void>>> waiting;
    RunLog log;
    log.create(workFolder + "/protokoll.csv");
    std::map<std::string, double> spent;  // seconds per step over all photos
    int turn = 0;
    takeFileCalls();
    const Clock::time_point begin = Clock::now();
    for (auto _ : state) {
        for (const std::string& photo : photos) {
            Clock::time_point start = Clock::now();
            const auto step = [&](const char* name) {
                const Clock::time_point now = Clock::now();
                spent[name] += seconds(now - start);
                start = now;
            };
            TimgData image(kDecodePosition);
            image.OpenImage(photo);
            const std::string position = gpsPositionText(*image.exifDecoder);
            step("read");

            std::istringstream in(placeReplyText(places.nearest(*parsePositionText(position))));
            const std::string place = placeTextFromReply(in, "UTF-8");
            step("place");

            image.DropCommentAndHeader();
            // Two texts of one length in turn, so each turn changes each photo.
            image.SetCommentText(place + (turn % 2 ? "  eins" : "  zwei"));
            const std::string line = photo + ";" + position + ";" + place;
            if (!overlapped) {
                image.SaveJpeg(photo);
                step("rewrite");
                log.write(line);
                log.endLine();
                step("log");
                continue;
            }
            if (!queue)
                queue = std::make_unique<CommitQueue>();
            waiting.emplace_back(line, queue->commit(image.writeNewFile(photo)));
            step("rewrite");
            while (!waiting.empty() &&
                   waiting.front().second.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
                waiting.front().second.get();
                log.write(waiting.front().first);
                log.endLine();
                waiting.pop_front();
            }
            step("log");
        }
        for (; !waiting.empty(); waiting.pop_front()) {
            waiting.front().second.get();
            log.write(waiting.front().first);
            log.endLine();
        }
        queue.reset();
        ++turn;
    }
    const Clock::duration total = Clock::now() - begin;
    for (const FileCall& call : takeFileCalls())
        spent[call.call] += seconds(call.took);
    log.close();
    const double perPhoto = 1000.0 / static_cast<double>(state.iterations() * static_cast<int64_t>(photos.size()));
    const double syncs = spent["fsync file"] + spent["rename"] + spent["fsync folder"];
    state.counters["ms_read"] = spent["read"] * perPhoto;
    state.counters["ms_place"] = spent["place"] * perPhoto;
    state.counters["ms_load_write"] = (spent["rewrite"] - (overlapped ? 0 : syncs)) * perPhoto;
    state.counters["ms_sync_file"] = spent["fsync file"] * perPhoto;
    state.counters["ms_rename"] = spent["rename"] * perPhoto;
    state.counters["ms_sync_folder"] = spent["fsync folder"] * perPhoto;
    state.counters["ms_log"] = spent["log"] * perPhoto;
    state.counters["ms_total"] = seconds(total) * 1000.0 / static_cast<double>(state.iterations() * static_cast<int64_t>(photos.size()));
    state.counters["photos"] = static_cast<double>(photos.size());
}

}  // namespace
}  // namespace vistado::bench

int main(int argc, char** argv)
{
    using namespace vistado::bench;
    benchmark::Initialize(&argc, argv);
    const std::string folder = benchFolder(argc, argv);
    vistado::setDecimalSeparator('.');
    vistado::setGpsRenderingMode(0);
    std::vector<std::string> withPosition;
    for (const std::string& file : jpegFiles(folder)) {
        vistado::TimgData image(vistado::kDecodeAll);
        if (image.OpenImage(file) && image.ExifPresent() && !gpsPositionText(*image.exifDecoder).empty())
            withPosition.push_back(file);
    }
    if (withPosition.empty()) {
        std::cerr << "rewritecost_bench: no photo with a GPS position in " << folder << "\n";
        return 1;
    }
    const std::filesystem::path base = std::filesystem::temp_directory_path() / "vistado-bench-rewritecost";
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    workFolder = base.string();
    for (int i = 0; i < imageCount(); ++i) {
        const std::string& source = withPosition[static_cast<size_t>(i) % withPosition.size()];
        const std::string copy = workFolder + "/" + std::to_string(i) + "-" +
                                 std::filesystem::path(source).filename().string();
        std::ofstream(copy, std::ios::binary) << vistado::readWholeFile(source);
        photos.push_back(copy);
    }
    std::cerr << "rewritecost_bench: " << photos.size() << " copies of " << withPosition.size()
              << " photos with a position from " << folder << " in " << workFolder << "\n";

    for (int turn = 0; turn < 2; ++turn) {
        benchmark::RegisterBenchmark("place_run_steps", BM_PlaceRunSteps, false)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("place_run_overlapped", BM_PlaceRunSteps, true)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(base);
    return 0;
}
