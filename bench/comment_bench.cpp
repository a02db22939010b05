// How fast the comment of every JPEG file of a folder is replaced in place,
// in MB/s of the files: by one process of `vistado-meta --comment` over all
// files and by the same steps in this process, beside `cp` of the same files
// into another folder and `jhead -cl` on them (when installed). The files are
// copies in a temporary folder (TMPDIR), so the folder itself is not changed.
//
// Each rewrite is flushed to the disk before it replaces its file; cp does not
// flush. The two copy runs show what that costs: the same bytes written to a
// new file and renamed over the old one, once without and once with the flush.
//
//   comment_bench [benchmark options] [FOLDER]
// The folder may also be given by VISTADO_BENCH_DIR; by default it is the
// sample files' JPEG folder.

#include "benchfiles.h"

#include "meta/file/filereader.h"
#include "meta/container/imgdata.h"
#include "meta/file/replacefile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace vistado::bench {
namespace {

using vistado::bench::runQuietly;

// Two comments of one length, taken in turn, so that every run changes every
// file (jhead leaves a file alone whose comment is already the one asked for)
// and the files keep their size.
const std::string kComments[] = {">>>> Ort, Region, Land  Urlaub am See", ">>>> Ort, Region, Land  Urlaub am Meer"};

std::string workFolder;  // copies of the files, rewritten in place
std::string copyFolder;  // where cp copies them to
std::vector<std::string> files;
int64_t totalBytes = 0;

void setByteRate(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * totalBytes);
    state.counters["files"] = static_cast<double>(files.size());
}

// The program run over all files; "{}" in the command stands for the comment.
void BM_Process(benchmark::State& state, std::vector<std::string> command, bool toCopyFolder)
{
    command.insert(command.end(), files.begin(), files.end());
    if (toCopyFolder)
        command.push_back(copyFolder);
    size_t turn = 0;
    for (auto _ : state) {
        std::vector<std::string> run = command;
        for (std::string& argument : run)
            if (argument == "{}")
                argument = kComments[turn % 2];
        ++turn;
        runQuietly(run);
    }
    setByteRate(state);
}

// The steps of `vistado-meta --comment`, in this process.
void BM_EngineComment(benchmark::State& state)
{
    size_t turn = 0;
    for (auto _ : state) {
        for (const std::string& file : files) {
            vistado::TimgData image(vistado::kDecodeAll);
            image.OpenImage(file);
            image.DropCommentAndHeader();
            image.SetCommentText(kComments[turn % 2]);
            image.SaveJpeg(file);
        }
        ++turn;
    }
    setByteRate(state);
}

void BM_CopyWithoutFlush(benchmark::State& state)
{
    for (auto _ : state) {
        for (const std::string& file : files) {
            const std::string bytes = vistado::readWholeFile(file);
            const std::string temporary = file + ".new";
            std::ofstream(temporary, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            std::rename(temporary.c_str(), file.c_str());
        }
    }
    setByteRate(state);
}

void BM_CopyWithFlush(benchmark::State& state)
{
    for (auto _ : state) {
        for (const std::string& file : files) {
            const std::string bytes = vistado::readWholeFile(file);
            vistado::ReplacementFile replacement(file);
            replacement.write(bytes);
            replacement.commit();
        }
    }
    setByteRate(state);
}

}  // namespace
}  // namespace vistado::bench

int main(int argc, char** argv)
{
    using namespace vistado::bench;
    benchmark::Initialize(&argc, argv);
    const std::string folder = benchFolder(argc, argv);
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "comment_bench: no folder " << folder << "\n";
        return 1;
    }
    const std::filesystem::path base = std::filesystem::temp_directory_path() / "vistado-bench-comment";
    std::filesystem::remove_all(base);
    workFolder = (base / "work").string();
    copyFolder = (base / "copy").string();
    std::filesystem::create_directories(workFolder);
    std::filesystem::create_directories(copyFolder);
    for (const std::string& source : vistado::bench::jpegFiles(folder)) {
        const std::string copy = workFolder + "/" + std::filesystem::path(source).filename().string();
        std::ofstream(copy, std::ios::binary) << vistado::readWholeFile(source);
        files.push_back(copy);
    }
    // Settle the files at the size they keep from the first rewrite on.
    runQuietly([] {
        std::vector<std::string> command = {VISTADO_META_TOOL, "--comment", kComments[0]};
        command.insert(command.end(), files.begin(), files.end());
        return command;
    }());
    for (const std::string& file : files)
        totalBytes += static_cast<int64_t>(std::filesystem::file_size(file));
    std::cerr << "comment_bench: " << files.size() << " files, " << totalBytes / 1e6 << " MB from " << folder
              << ", copied to " << workFolder << "\n";

    benchmark::RegisterBenchmark("cp", BM_Process, std::vector<std::string>{"cp", "-f"}, true)->UseRealTime();
    benchmark::RegisterBenchmark("vistado-meta --comment", BM_Process,
                                 std::vector<std::string>{VISTADO_META_TOOL, "--comment", "{}"}, false)
        ->UseRealTime();
    benchmark::RegisterBenchmark("engine_comment", BM_EngineComment)->UseRealTime();
    if (vistado::bench::installed("jhead"))
        benchmark::RegisterBenchmark("jhead -cl", BM_Process, std::vector<std::string>{"jhead", "-q", "-cl", "{}"},
                                     false)
            ->UseRealTime();
    benchmark::RegisterBenchmark("copy_without_flush", BM_CopyWithoutFlush)->UseRealTime();
    benchmark::RegisterBenchmark("copy_with_flush", BM_CopyWithFlush)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(base);
    return 0;
}
