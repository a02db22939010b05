#include "meta/container/jpegimage.h"

#include "meta/file/filereader.h"
#include "meta/file/writeerror.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
#include <system_error>

namespace vistado {

namespace {

// The library's standard error manager, except that a fatal error returns to
// the parse instead of ending the process, and nothing is printed.
struct JpegErrors {
    jpeg_error_mgr standard;
    std::jmp_buf parseEnd;
};

[[noreturn]] void endParse(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->parseEnd, 1);
}

void keepQuiet(j_common_ptr) {}

// Runs the header parse. False when the library raised an error; its message
// number is then in errors. Everything the library changes lives in the
// caller's frame, so nothing is lost by the jump back.
bool parseHeader(jpeg_decompress_struct& info, JpegErrors& errors, const std::string& bytes,
                 bool& multipleScans)
{
    if (setjmp(errors.parseEnd) != 0)
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    multipleScans = jpeg_has_multiple_scans(&info);
    return true;
}

}  // namespace

TJPEGImage::TJPEGImage(std::string source) : imageBytes(std::move(source))
{
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = endParse;
    errors.standard.output_message = keepQuiet;
    const bool parsed = parseHeader(info, errors, imageBytes, isProgressive);
    if (parsed) {
        imageWidth = static_cast<int32_t>(info.image_width);
        imageHeight = static_cast<int32_t>(info.image_height);
    }
    jpeg_destroy_decompress(&info);
    if (!parsed)
        throw EWriteError("JPEG-Fehler #" + std::to_string(errors.standard.msg_code));
}

TJPEGImage TJPEGImage::loadFromFile(const std::string& path)
{
    std::string imageBytes;
    try {
        imageBytes = readWholeFile(path);
    } catch (const std::system_error& failed) {
        throw openFailed(path, failed.code().value());
    }
    return TJPEGImage(std::move(imageBytes));
}

}  // namespace vistado
