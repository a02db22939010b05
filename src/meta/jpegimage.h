#pragma once

#include <cstdint>
#include <string>

namespace vistado {

// A JPEG image as the writer loads it: every byte of the source, unchanged,
// and what its frame header says. The image is never decoded.
class TJPEGImage {
public:
    // Takes the bytes and parses their frame header. Raises EWriteError
    // "JPEG-Fehler #%d" with the JPEG library's message number when the
    // library cannot parse it.
    explicit TJPEGImage(std::string bytes);

    // Reads the whole file, then parses it as above. Raises EWriteError
    // "Datei %s kann nicht geöffnet werden. %s" when the file cannot be read.
    static TJPEGImage LoadFromFile(const std::string& path);

    // The bytes exactly as loaded.
    const std::string& Bytes() const { return bytes; }
    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    // True for an image coded in several scans (progressive).
    bool Progressive() const { return progressive; }

private:
    std::string bytes;
    int32_t width = 0;
    int32_t height = 0;
    bool progressive = false;
};

}  // namespace vistado
