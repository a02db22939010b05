// The place run over a folder of photos against a geocoding service on loopback that answers
// at once: what the run costs per image beyond its fixed pauses. Those are 100 ms before each
// request, the 100 ms polls for the reply (one, when the reply is there at once), the 10 ms
// pause behind each attempt to open the reply (one attempt, when it opens at once) and the
// 10 ms pause after each image. ExifTool takes no part in the place run.
//
//     placerun_bench [--benchmark_...]      VISTADO_BENCH_IMAGES=N sets the number of photos (200)
#include "httpserver.h"
#include "jpegbuilder.h"
#include "realjpeg.h"
#include "testfiles.h"
#include "tiffbuilder.h"
#include "app/vistado4.h"

#include <QApplication>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vistado::bench {
namespace {

using namespace vistado::test;

constexpr double kFixedPausesPerImage = 0.100 + 0.100 + 0.010 + 0.010;  // seconds

int imageCount()
{
    const char* count = std::getenv("VISTADO_BENCH_IMAGES");
    return count && std::atoi(count) > 0 ? std::atoi(count) : 200;
}

// A real photo with a GPS position in its Exif data, as a camera writes it: 48.137154 N,
// 11.576124 E.
std::string photoWithPosition()
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

const char* const kReply = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<GeocodeResponse>\n <status>OK</status>\n <result>\n"
                           "  <address_component>\n   <long_name>12</long_name>\n  </address_component>\n"
                           "  <address_component>\n   <long_name>Marktgasse</long_name>\n  </address_component>\n"
                           "  <address_component>\n   <long_name>Altstadt</long_name>\n  </address_component>\n"
                           "  <address_component>\n   <long_name>M\xC3\xBCnchen</long_name>\n  </address_component>\n"
                           "  <address_component>\n   <long_name>Oberbayern</long_name>\n  </address_component>\n"
                           "  <address_component>\n   <long_name>Deutschland</long_name>\n  </address_component>\n"
                           " </result>\n</GeocodeResponse>\n";

void BM_PlaceRun(benchmark::State& state)
{
    HttpServer service([](httplib::Server& routes) {
        routes.Get("/maps/api/geocode/xml", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kReply, "application/xml; charset=UTF-8");
        });
    });
    const Services services{"127.0.0.1:" + std::to_string(service.port()), "", ""};
    const std::string photo = photoWithPosition();
    const int images = imageCount();

    for (auto _ : state) {
        state.PauseTiming();
        const TempDir work;
        const std::string folder = work.file("Urlaub");
        std::filesystem::create_directory(folder);
        for (int i = 0; i < images; ++i)
            writeFile(folder + "/IMG_" + std::to_string(10000 + i) + ".JPG", photo);
        TForm1 form(folder, work.path(), services);
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        form.BFrage->click();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (form.BFrage->text() != QStringLiteral("fertig"))
            state.SkipWithError("the place run did not go through");
        state.counters["images"] = images;
        state.counters["ms_per_image"] = seconds / images * 1000;
        state.counters["ms_per_image_beyond_pauses"] = (seconds / images - kFixedPausesPerImage) * 1000;
    }
}
BENCHMARK(BM_PlaceRun)->Iterations(1)->Unit(benchmark::kSecond);

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
