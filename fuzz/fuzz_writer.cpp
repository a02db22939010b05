// libFuzzer target: the place run's rewrite of any bytes as a photo. Read,
// set a comment, write to another file, read that back: the comment read
// back is the one set (unless the photo held further comments, of which the
// reader takes the last), and the bytes from the image data on are the
// source's, unchanged.

#include "fuzzfile.h"

#include "meta/container/imgdata.h"
#include "meta/file/writeerror.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// Where the image data begins (the SOS marker), and how many COM segments
// holding text stand in front of it: an independent walk over the segments.
struct Layout {
    size_t scan = std::string::npos;
    int comments = 0;
};

Layout layoutOf(std::string_view bytes)
{
    Layout layout;
    size_t pos = 2;
    while (pos + 3 < bytes.size()) {
        while (pos < bytes.size() && static_cast<uint8_t>(bytes[pos]) == 0xFF)
            ++pos;  // the 0xFF and fill bytes in front of the code
        if (pos + 2 >= bytes.size())
            break;
        const uint8_t code = static_cast<uint8_t>(bytes[pos]);
        if (code == 0xDA) {
            layout.scan = pos;
            break;
        }
        if (code == 0xD9)
            break;
        const size_t length = static_cast<uint8_t>(bytes[pos + 1]) * 256u + static_cast<uint8_t>(bytes[pos + 2]);
        if (code == 0xFE && length > 2)
            ++layout.comments;
        pos += 1 + length;
    }
    return layout;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    static const fuzz::FuzzFile source(".jpg");
    static const fuzz::FuzzFile target(".jpg");
    const std::string comment = ">Rom<>Latium<>Italien<>IT<  fuzz";
    source.write(data, size);

    TimgData image(kDecodeAll);
    if (!image.OpenImage(source.name()) && (image.errorText.empty() || image.readFailed()))
        return 0;
    image.DropCommentAndHeader();
    image.SetCommentText(comment);
    try {
        image.SaveJpeg(target.name());
    } catch (const EWriteError&) {
        return 0;  // the JPEG library refused the source: nothing written
    }

    const std::string_view before(reinterpret_cast<const char*>(data), size);
    const std::string after = readAll(target.name());
    const Layout sourceLayout = layoutOf(before);
    const Layout writtenLayout = layoutOf(after);
    if (sourceLayout.scan != std::string::npos &&
        (writtenLayout.scan == std::string::npos ||
         before.substr(sourceLayout.scan) != std::string_view(after).substr(writtenLayout.scan)))
        std::abort();
    TimgData written(kDecodeAll);
    if (!written.OpenImage(target.name()) || (sourceLayout.comments <= 1 && written.CommentText() != comment))
        std::abort();
    return 0;
}
